#include "framework/sql/schema.h"

#include <algorithm>

#include "framework/runtime/log.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/collation.h"
#include "framework/sql/dialect.h"
#include "framework/sql/text.h"

namespace slownik::sql {
namespace {

std::string columnSql(const Dialect& dialect, const ColumnDef& c) {
  std::string s = c.name + " " + dialect.columnType(c);
  if (!c.nullable) s += " NOT NULL";
  return s;
}

std::string indexColumns(const KeyDef& key, const TableDef& table) {
  // A list ordered by a key that isn't unique is completed by the primary key, so that
  // every row has one place; ending the index the same way lets pages come straight
  // off the index even inside a large group of equal values.
  std::vector<KeyComponent> parts = key.components;
  if (!key.unique) {
    if (const KeyDef* pk = table.primaryKey()) {
      for (const auto& part : pk->components) {
        bool present = false;
        for (const auto& own : parts) present = present || equalsIgnoreCase(own.column, part.column);
        if (!present) parts.push_back(part);
      }
    }
  }
  std::string s;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const KeyComponent& part = parts[i];
    if (!s.empty()) s += ", ";
    const ColumnDef* col = table.column(part.column);
    bool text = col && (col->type == ColumnType::Text || col->type == ColumnType::Memo);
    bool ownPart = i < key.components.size();  // the completing key compares as it is
    // A folded text is an expression, which carries no collation of its own on SQLite:
    // it is given the one its column sorts in.
    s += key.caseInsensitive && text && ownPart ? "UPPER(" + part.column + ")" + collateClause() : part.column;
    if (part.descending) s += " DESC";
  }
  return s;
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
  std::string s;
  for (std::size_t i = 0; i < parts.size(); ++i) s += (i ? std::string(separator) : "") + parts[i];
  return s;
}

// A value read back from the duplicate search, as it enters the index's condition: an
// expression over a number column as a number, anything else as quoted text.
std::string literalOf(const TableDef* table, const std::string& expression, const Cell& value) {
  const ColumnDef* column = table ? table->column(expression) : nullptr;
  bool number = column && column->type != ColumnType::Text && column->type != ColumnType::Memo &&
                column->type != ColumnType::Blob && column->type != ColumnType::Decimal;
  if (number && value && !value->empty() && value->find_first_not_of("-0123456789.") == std::string::npos)
    return *value;
  return quote(value.value_or(""));
}

}  // namespace

std::string indexName(const TableDef& table, const KeyDef& key) {
  std::string name = key.name;
  for (char& c : name)
    if (c == ':') c = '_';
  return toUpperAscii(table.name + "_" + name);
}

Status createUniqueIndex(Database& db, const UniqueIndex& index) {
  const TableDef* table = Catalogue::instance().find(index.table);
  const std::string list = joined(index.columns, ", ");
  // NULLs never clash in a unique index, so groups with one are no duplicates.
  std::vector<std::string> covered;
  if (!index.where.empty()) covered.push_back("(" + index.where + ")");
  for (const auto& c : index.columns) covered.push_back(c + " IS NOT NULL");
  Result duplicates;
  if (Status s = db.execute("SELECT " + list + ", COUNT(*) FROM " + index.table + " WHERE " + joined(covered, " AND ") +
                                " GROUP BY " + list + " HAVING COUNT(*) > 1",
                            &duplicates);
      !s)
    return s;
  // Rows that already break the rule are kept: the upgrade must go through on a
  // database that holds them, and only a person can tell which of two "Niemcy" is the
  // wrong one. The index leaves out just those values, so every other value is unique
  // from now on; the log says what was found, so the rows can be put right.
  std::string condition = index.where;
  for (const auto& row : duplicates.rows) {
    std::vector<std::string> match;
    for (std::size_t i = 0; i < index.columns.size() && i < row.size(); ++i)
      match.push_back(index.columns[i] + " = " + literalOf(table, index.columns[i], row[i]));
    condition += (condition.empty() ? "NOT (" : " AND NOT (") + joined(match, " AND ") + ")";
    std::string count = row.size() > index.columns.size() ? row[index.columns.size()].value_or("?") : "?";
    rt::logMessage("Migracja " + std::to_string(index.number) + ": w tabeli " + index.table + " powtarza się " +
                   joined(match, ", ") + " (liczba wierszy: " + count + "). Wiersze zostają bez zmian, a indeks unikalny " +
                   index.name + " pomija tę wartość; pozostałe wartości są od teraz unikalne.");
  }
  return db.execute("CREATE UNIQUE INDEX " + index.name + " ON " + index.table + " (" + list + ")" +
                    (condition.empty() ? "" : " WHERE " + condition));
}

std::vector<std::string> indexStatements(const Dialect&, const TableDef& table) {
  std::vector<std::string> out;
  for (const auto& k : table.keys) {
    if (k.primary) continue;
    out.push_back(std::string("CREATE ") + (k.unique ? "UNIQUE " : "") + "INDEX " + indexName(table, k) + " ON " +
                  table.name + " (" + indexColumns(k, table) + ")");
  }
  return out;
}

std::string tableColumnsSql(const Dialect& dialect, const TableDef& table, int version) {
  std::string sql;
  bool keyInline = false;
  for (const auto& c : table.columns) {
    if (c.since > version) continue;  // later migrations add it
    keyInline = keyInline || c.generated;
    sql += (sql.empty() ? "" : ", ") + (c.generated ? dialect.generatedIdColumn(c) : columnSql(dialect, c));
  }
  if (const KeyDef* pk = table.primaryKey(); pk && !keyInline) {
    sql += ", PRIMARY KEY (";
    for (std::size_t i = 0; i < pk->components.size(); ++i)
      sql += (i ? ", " : "") + pk->components[i].column;
    sql += ")";
  }
  return sql;
}

std::vector<std::string> createTableStatements(const Dialect& dialect, const TableDef& table) {
  std::vector<std::string> out;
  if (std::string setup = dialect.collationSetup(); !setup.empty()) out.push_back(setup);
  out.push_back("CREATE TABLE " + table.name + " (" + tableColumnsSql(dialect, table, table.since) + ")");
  for (auto& statement : indexStatements(dialect, table)) out.push_back(std::move(statement));
  return out;
}

int schemaVersion(Database& db) {
  Result r;
  if (!db.execute("SELECT MAX(VERSION) FROM SCHEMA_MIGRATIONS", &r)) return 0;
  std::string v = r.scalar();
  return v.empty() ? 0 : std::stoi(v);
}

Status migrate(Database& db, int target) {
  // A database in use answers its version at once; only a new one needs the table made.
  Result version;
  int current = 0;
  // (Inside a transaction a failed statement would spoil it on PostgreSQL: ask safely.)
  if (db.transactionDepth() == 0 && db.execute("SELECT MAX(VERSION) FROM SCHEMA_MIGRATIONS", &version)) {
    std::string v = version.scalar();
    current = v.empty() ? 0 : std::stoi(v);
  } else if (Status s = db.execute("CREATE TABLE IF NOT EXISTS SCHEMA_MIGRATIONS (VERSION INTEGER PRIMARY KEY)"); !s) {
    return s;
  } else {
    current = schemaVersion(db);
  }
  const Catalogue& catalogue = Catalogue::instance();
  const Dialect& dialect = db.dialect();
  const int last = target > 0 ? std::min(target, catalogue.latestMigration()) : catalogue.latestMigration();
  for (int n = current + 1; n <= last; ++n) {
    Transaction tx(db, TransactionMode::Immediate);
    if (!tx.status()) return tx.status();
    // The statements of a migration go to the server as one script: over a remote link
    // each would otherwise be a round trip, and a new database has hundreds.
    std::string script;
    auto add = [&script](const std::string& statement) { script += statement + ";\n"; };
    auto flush = [&]() -> Status {
      if (script.empty()) return {};
      Status e = db.executeScript(script);
      script.clear();
      return e ? e : Status::failure("Migracja " + std::to_string(n) + ": " + e.message());
    };
    // New text columns below carry the collation: it must be known first.
    if (std::string setup = dialect.collationSetup(); !setup.empty()) add(setup);
    std::vector<std::string> createdHere;
    for (const auto& table : catalogue.tables()) {
      if (table.isView) continue;
      if (table.since == n) {
        add("CREATE TABLE " + table.name + " (" + tableColumnsSql(dialect, table, n) + ")");
        for (const auto& stmt : indexStatements(dialect, table)) add(stmt);
        createdHere.push_back(table.name);
      } else if (table.since < n) {
        for (const auto& c : table.columns)
          if (c.since == n) add("ALTER TABLE " + table.name + " ADD COLUMN " + columnSql(dialect, c));
      }
    }
    for (const auto& extra : migrationExtras())
      if (extra.number == n && extra.backend == db.backend()) add(extra.sql);
    for (const auto& index : uniqueIndexes()) {
      if (index.number != n) continue;
      // A table made by this very migration is empty: nothing to look for first.
      if (std::find(createdHere.begin(), createdHere.end(), index.table) != createdHere.end()) {
        add("CREATE UNIQUE INDEX " + index.name + " ON " + index.table + " (" + joined(index.columns, ", ") + ")" +
            (index.where.empty() ? "" : " WHERE " + index.where));
        continue;
      }
      if (Status e = flush(); !e) return e;
      if (Status e = createUniqueIndex(db, index); !e)
        return Status::failure("Migracja " + std::to_string(n) + ", indeks " + index.name + ": " + e.message());
    }
    for (const auto& step : migrationSteps()) {
      if (step.number != n) continue;
      if (Status e = flush(); !e) return e;
      if (Status e = step.run(db, n); !e) return Status::failure("Migracja " + std::to_string(n) + ": " + e.message());
    }
    add("INSERT INTO SCHEMA_MIGRATIONS (VERSION) VALUES (" + std::to_string(n) + ")");
    if (Status e = flush(); !e) return e;
    if (Status e = tx.commit(); !e) return e;
  }
  return {};
}

}  // namespace slownik::sql
