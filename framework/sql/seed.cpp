#include "framework/sql/seed.h"

#include <cmath>
#include <cstdio>

#include "framework/sql/schema.h"
#include "framework/sql/seed_rows.h"
#include "framework/sql/text.h"

namespace slownik::sql {
namespace seed {
namespace {

bool isDecimalLiteral(std::string_view s) {
  if (!s.empty() && s.front() == '-') s.remove_prefix(1);
  if (s.empty() || s.front() == '.' || s.back() == '.') return false;
  int points = 0;
  for (char c : s) {
    if (c == '.') {
      if (++points > 1) return false;
    } else if (c < '0' || c > '9') {
      return false;
    }
  }
  return true;
}

}  // namespace

Value text(std::string_view value) { return {quote(value)}; }
Value num(long long value) { return {std::to_string(value)}; }
// An invalid literal is kept as it is and refused by insertRows, so a typo in the demo
// data is a failed seed with a message, never a statement with stray text in it.
Value dec(std::string_view value) { return {std::string(value)}; }
Value dec(double value, int places) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", places, value);
  return {buf};
}
Value null() { return {"NULL"}; }

Status insertRows(Database& db, std::string_view table, const std::vector<std::string>& columns,
                  const std::vector<Row>& rows) {
  std::string head = "INSERT INTO " + std::string(table) + " (";
  for (std::size_t i = 0; i < columns.size(); ++i) head += (i ? ", " : "") + columns[i];
  head += ") VALUES (";
  for (const Row& row : rows) {
    if (row.size() != columns.size())
      return Status::failure("Dane demonstracyjne tabeli " + std::string(table) + ": zła liczba wartości");
    std::string sql = head;
    for (std::size_t i = 0; i < row.size(); ++i) {
      const std::string& v = row[i].sql;
      bool valid = v == "NULL" || (!v.empty() && v.front() == '\'') || isDecimalLiteral(v);
      if (!valid)
        return Status::failure("Dane demonstracyjne tabeli " + std::string(table) + ": błędna wartość " + v);
      sql += (i ? ", " : "") + v;
    }
    sql += ")";
    if (Status s = db.execute(sql); !s)
      return Status::failure("Dane demonstracyjne tabeli " + std::string(table) + ": " + s.message());
  }
  return {};
}

}  // namespace seed

bool holdsData(Database& db, Status* status) {
  for (const char* table : {"UZYTKOWNIK", "FIRMA", "WALUTY", "STAWKA_VAT", "KRAJE"}) {
    Result r;
    Status s = db.execute(std::string("SELECT COUNT(*) FROM ") + table, &r);
    if (!s) {
      if (status) *status = s;
      return false;
    }
    if (r.scalar() != "0") return true;
  }
  if (status) *status = Status::success();
  return false;
}

Status seedDemo(Database& db) {
  if (Status s = migrate(db); !s) return s;
  Transaction tx(db, TransactionMode::Immediate);
  if (!tx.status()) return tx.status();
  // Checked inside the write transaction: two programs starting together seed once.
  Status checked;
  if (holdsData(db, &checked)) return {};
  if (!checked) return checked;
  for (auto part : {seed::seedTaxAndGeography, seed::seedCurrencies, seed::seedCompany, seed::seedUsersAndRights,
                    seed::seedDocumentSettings}) {
    if (Status s = part(db); !s) return s;
  }
  return tx.commit();
}

}  // namespace slownik::sql
