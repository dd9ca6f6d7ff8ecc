#include "dictionaries/banking/account_white_list.h"

#include <cctype>

#include "dictionaries/banking/account_number.h"
#include "dictionaries/banking/account_white_list_prompt.h"
#include "framework/data/globals.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/front_end.h"
#include "framework/services/gus_registry_prompt.h"
#include "framework/services/messages.h"
#include "framework/sql/thread_database.h"

namespace slownik::banking {
namespace {

// Shows the wait cursor while the register answers.
class BusyCursor {
 public:
  BusyCursor() { rt::frontEnd().setBusy(true); }
  ~BusyCursor() { rt::frontEnd().setBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

std::optional<std::string> whiteListAccountNumber(std::string_view checkDigits, std::string_view storedNumber) {
  std::string full = fullAccountNumber(checkDigits, storedNumber);
  if (full.size() != 26) return std::nullopt;
  for (char c : full)
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
  return full;
}

std::string ownerNip(const AccountOwner& owner) {
  if (owner.kind != OwnerKind::Contractor) return {};
  return svc::registryNip(data::field("KON:NIP").text()).value_or(std::string());
}

std::string lastCheckedNip(const AccountOwner& owner, double account) {
  if (!owner.checksWhiteList() || account <= 0) return {};
  sql::Database* db = sql::threadDatabase();
  if (!db) return {};
  const sql::Param params[] = {static_cast<long long>(account)};
  sql::Result r;
  if (!db->execute("SELECT NIP FROM " + owner.whiteListTable +
                       " WHERE ID_RACHUNKU = ? ORDER BY DATA_SPRAWDZENIA DESC, ID_SPRAWDZENIA DESC",
                   params, &r))
    return {};
  return r.scalar();
}

svc::WhiteListCheck askWhiteList(const WhiteListRequest& request) {
  const svc::WhiteListSettings settings = svc::whiteListSettings();
  BusyCursor busy;
  return svc::checkWhiteList(settings, request.nip, request.number, request.day);
}

std::string recordWhiteListAnswer(const AccountOwner& owner, const WhiteListRequest& request,
                                  const svc::WhiteListCheck& check) {
  if (!owner.checksWhiteList() || request.account <= 0 || !check.answered())
    return "Nie ma czego zapisać: rachunek nie został sprawdzony.";
  sql::Status status;
  sql::Database* db = sql::threadDatabase(&status);
  if (!db) return status.message();
  const sql::Param params[] = {static_cast<long long>(request.account),
                               static_cast<long long>(request.day),
                               check.result(),
                               check.requestId,
                               check.requestDateTime,
                               request.nip,
                               request.number,
                               static_cast<long long>(data::glo().ID_UZYTKOWNIKA.get())};
  status = db->execute("INSERT INTO " + owner.whiteListTable +
                           " (ID_RACHUNKU, DATA_SPRAWDZENIA, WYNIK, ID_ZAPYTANIA, CZAS_ZAPYTANIA, NIP, NUMER_RACHUNKU, "
                           "ID_UZYTKOWNIKA) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                       params, nullptr);
  return status ? std::string() : status.message();
}

std::string whiteListAnswerText(const WhiteListRequest& request, const svc::WhiteListCheck& check) {
  const std::string account = groupedAccountNumber(request.number);
  const std::string when = rt::formatShortDate(request.day);
  const std::string proof = "|Identyfikator zapytania: " + check.requestId;
  if (check.outcome == svc::WhiteListOutcome::Assigned)
    return "Rachunek " + account + " figuruje w wykazie podatników VAT (biała lista) dla NIP " + request.nip +
           " na dzień " + when + "." + proof;
  return "Rachunku " + account + " NIE MA w wykazie podatników VAT (biała lista) dla NIP " + request.nip +
         " na dzień " + when + ".|Zapłata powyżej 15 000 zł na ten rachunek pozbawia prawa do zaliczenia jej do "
         "kosztów i naraża na solidarną odpowiedzialność za VAT." + proof;
}

bool checkSavedAccount(const AccountOwner& owner, double account, std::string_view checkDigits,
                       std::string_view storedNumber) {
  if (!owner.checksWhiteList() || account <= 0) return false;
  auto number = whiteListAccountNumber(checkDigits, storedNumber);
  if (!number) {
    svc::MSG_OSTRZEZENIE(
        "Na białej liście można sprawdzić tylko polski rachunek: 26 cyfr z sumą kontrolną.|Ten rachunek nie został "
        "sprawdzony.");
    return false;
  }
  std::string proposed = ownerNip(owner);
  if (proposed.empty()) proposed = lastCheckedNip(owner, account);
  auto question = askWhiteListQuestion(proposed);
  if (!question) return false;
  WhiteListRequest request{account, *number, question->nip, question->day};
  const svc::WhiteListCheck check = askWhiteList(request);
  if (!check.answered()) {
    svc::MSG_OSTRZEZENIE(svc::whiteListFailureText(check, svc::whiteListSettings().timeoutSeconds));
    return false;
  }
  if (std::string error = recordWhiteListAnswer(owner, request, check); !error.empty()) {
    svc::MSG_OSTRZEZENIE(whiteListAnswerText(request, check) + "||Odpowiedzi nie udało się zapisać: " + error);
    return false;
  }
  if (check.outcome == svc::WhiteListOutcome::Assigned)
    svc::MSG_INFORMACJA(whiteListAnswerText(request, check));
  else
    svc::MSG_OSTRZEZENIE(whiteListAnswerText(request, check));
  return true;
}

engine::ChildListDescriptor whiteListHistory(const AccountOwner& owner) {
  const std::string& p = owner.whiteListPrefix;
  engine::ChildListDescriptor d;
  d.list = kWhiteListHistory;
  d.table = owner.whiteListTable;
  d.ownerField = p + ":ID_RACHUNKU";
  d.sortOrder = {p + ":PO_RACHUNKU", engine::LocatorKind::None, "", ""};
  d.columns = {p + ":DATA_SPRAWDZENIA", p + ":WYNIK", p + ":NIP", p + ":ID_ZAPYTANIA", p + ":CZAS_ZAPYTANIA"};
  // Read only: the answers are the register's, nobody edits them.
  d.formNumber = 9;
  d.pageSize = 5;
  return d;
}

}  // namespace slownik::banking
