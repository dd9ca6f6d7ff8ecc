#include "framework/sql/seed.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <iterator>

#include "framework/sql/catalogue.h"
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
  // Many rows per statement: on a remote server every statement is a round trip, and the
  // demo has hundreds of rows. The batch stays well under SQLite's limit of terms in a
  // compound VALUES.
  constexpr std::size_t kRowsPerStatement = 200;
  std::string head = "INSERT INTO " + std::string(table) + " (";
  for (std::size_t i = 0; i < columns.size(); ++i) head += (i ? ", " : "") + columns[i];
  head += ") VALUES ";
  for (std::size_t first = 0; first < rows.size(); first += kRowsPerStatement) {
    std::string sql = head;
    std::size_t last = std::min(rows.size(), first + kRowsPerStatement);
    for (std::size_t r = first; r < last; ++r) {
      const Row& row = rows[r];
      if (row.size() != columns.size())
        return Status::failure("Dane demonstracyjne tabeli " + std::string(table) + ": zła liczba wartości");
      sql += r == first ? "(" : ", (";
      for (std::size_t i = 0; i < row.size(); ++i) {
        const std::string& v = row[i].sql;
        bool valid = v == "NULL" || (!v.empty() && v.front() == '\'') || isDecimalLiteral(v);
        if (!valid)
          return Status::failure("Dane demonstracyjne tabeli " + std::string(table) + ": błędna wartość " + v);
        sql += (i ? ", " : "") + v;
      }
      sql += ")";
    }
    if (Status s = db.execute(sql); !s)
      return Status::failure("Dane demonstracyjne tabeli " + std::string(table) + ": " + s.message());
  }
  return {};
}

}  // namespace seed

namespace {

// 1 when the database holds the program's data, else 0: one expression for all the
// tables, since on a remote server each question would be a round trip.
std::string holdsDataSql() {
  std::string sql = "CASE WHEN";
  const char* tables[] = {"UZYTKOWNIK", "FIRMA", "WALUTY", "STAWKA_VAT", "KRAJE"};
  for (std::size_t i = 0; i < std::size(tables); ++i)
    sql += std::string(i ? " OR" : "") + " EXISTS (SELECT 1 FROM " + tables[i] + ")";
  return sql + " THEN 1 ELSE 0 END";
}

}  // namespace

StartState readStartState(Database& db) {
  StartState state;
  if (db.transactionDepth() > 0) return state;  // a failure would spoil the caller's transaction
  Result r;
  if (!db.execute("SELECT (SELECT MAX(VERSION) FROM SCHEMA_MIGRATIONS), " + holdsDataSql() +
                      ", CASE WHEN EXISTS (SELECT 1 FROM UZYTKOWNIK) THEN 1 ELSE 0 END",
                  &r) ||
      r.empty())
    return state;  // a new database: no tables to ask yet
  state.read = true;
  state.version = std::atoi(r.text(0, 0).c_str());
  state.holdsData = r.text(0, 1) == "1";
  state.hasUsers = r.text(0, 2) == "1";
  return state;
}

bool StartState::current() const { return read && version == Catalogue::instance().latestMigration(); }

bool holdsData(Database& db, Status* status) {
  std::string sql = "SELECT " + holdsDataSql();
  Result r;
  Status s = db.execute(sql, &r);
  if (status) *status = s;
  return s.isOk() && r.scalar() == "1";
}

Status seedDemo(Database& db) {
  if (StartState state = readStartState(db); state.current() && state.holdsData) return {};
  if (Status s = migrate(db); !s) return s;
  // A database in use is told apart without a transaction: starting the program on it
  // costs one statement here.
  Status looked;
  if (holdsData(db, &looked)) return {};
  if (!looked) return looked;
  Transaction tx(db, TransactionMode::Immediate);
  if (!tx.status()) return tx.status();
  // Checked again inside the write transaction: two programs starting together seed once.
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
