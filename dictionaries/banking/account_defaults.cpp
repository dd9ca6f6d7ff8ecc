#include "dictionaries/banking/account_defaults.h"

#include <algorithm>
#include <cstdlib>

#include "framework/data/globals.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/services/messages.h"
#include "framework/services/result_table.h"
#include "framework/services/sql_services.h"
#include "framework/sql/text.h"

namespace slownik::banking {

double OwnerDefault::ownerId() const { return data::field(owner_.ownerField(owner_.ownerColumn)).number(); }

double OwnerDefault::current() const { return data::field(owner_.ownerField("ID_RACHUNKU")).number(); }

bool OwnerDefault::toggle(double account) {
  if (account <= 0) return false;
  if (isDefault(account)) return clear();
  std::string active = svc::FUNCSQL(owner_.activityQuery(account));
  if (rt::errorCode() != 0) {
    svc::MSG_OSTRZEZENIE(rt::errorText());
    return false;
  }
  // No row at all (removed by someone else meanwhile) is no active account either.
  if (std::atof(active.c_str()) == 0) {
    svc::MSG_OSTRZEZENIE("Nie można ustawić jako domyślny rachunku, który jest nieaktywny!");
    return false;
  }
  if (mode_ == 0 && !execute(owner_.activationStatement(account))) return false;
  return set(account);
}

bool OwnerDefault::set(double account) {
  if (mode_ == 0 && !execute(owner_.setDefaultStatement(account, ownerId()))) return false;
  store(account);
  return true;
}

bool OwnerDefault::clear() {
  if (mode_ == 0 && !execute(owner_.clearDefaultStatement(ownerId()))) return false;
  store(0);
  return true;
}

bool OwnerDefault::execute(const std::string& statement) const {
  svc::EXECSQL(statement);
  bool ok = rt::errorCode() == 0;
  // The list must not show a default the database did not take.
  if (!ok) svc::MSG_OSTRZEZENIE(rt::errorText());
  svc::CLOSESQL();
  return ok;
}

void OwnerDefault::store(double account) const {
  data::field(owner_.ownerField("ID_RACHUNKU")).set(account);
  // The company's default account follows every change, so that documents never name
  // an account that is no longer the default (or no longer exists).
  if (owner_.isCompany()) data::glo().ID_KONTA_BANKOWEGO = account;
}

std::int32_t loadDefaultAccounts() {
  std::vector<data::DefaultAccount> accounts;
  svc::EXECSQL("select id_rachunku,sym_waluty from rachunek_firmy with (nolock) where id_firmy=" +
               sql::sqlId(data::glo().ID_FIRMY.get()) + " and domyslny_wal=1");
  if (rt::errorCode() == 0) {
    svc::ResultTable& rows = svc::VAX();
    while (rows.next()) {
      accounts.push_back({std::atol(rows.field(1).c_str()), sql::truncateUtf8(rows.field(2), 4)});
    }
  }
  svc::VAX().close();
  std::sort(accounts.begin(), accounts.end(),
            [](const data::DefaultAccount& a, const data::DefaultAccount& b) { return a.accountId < b.accountId; });
  auto count = static_cast<std::int32_t>(accounts.size());
  data::glo().setKolRachBank(std::move(accounts));
  return count;
}

}  // namespace slownik::banking
