#include "dictionaries/banking/account_procedures.h"

#include "dictionaries/banking/account_defaults.h"
#include "dictionaries/banking/account_list.h"
#include "framework/data/globals.h"
#include "framework/services/messages.h"

using slownik::banking::accountOwner;
using slownik::banking::OwnerKind;
using slownik::banking::runAccountList;

extern "C" void RACHUNKI_FIRMY_BRW(std::uint8_t mode) { runAccountList(accountOwner(OwnerKind::Company), mode); }

extern "C" void RACHUNKI_KONTRAHENTA_BRW(std::uint8_t mode) {
  runAccountList(accountOwner(OwnerKind::Contractor), mode);
}

extern "C" void RACHUNEK_PRACOWNIKA(std::uint8_t mode) { runAccountList(accountOwner(OwnerKind::Employee), mode); }

extern "C" void RACHUNKI_URZEDU_BRW(std::uint8_t mode) { runAccountList(accountOwner(OwnerKind::TaxOffice), mode); }

extern "C" std::int32_t LADUJDOMYSLNERACHUNKI() { return slownik::banking::loadDefaultAccounts(); }

namespace slownik::banking {

void loadDefaultAccountsAndTell() {
  LADUJDOMYSLNERACHUNKI();
  std::vector<data::DefaultAccount> accounts = data::glo().kolRachBank();
  if (accounts.empty()) {
    svc::MSG_INFORMACJA("Bieżąca firma nie ma domyślnych rachunków bankowych.");
    return;
  }
  std::string currencies;
  for (const auto& a : accounts) currencies += (currencies.empty() ? "" : ", ") + a.currency;
  svc::MSG_INFORMACJA("Wczytano domyślne rachunki firmy (liczba: " + std::to_string(accounts.size()) +
                      "), waluty: " + currencies + ".");
}

}  // namespace slownik::banking
