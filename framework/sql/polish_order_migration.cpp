#include <set>

#include "framework/sql/catalogue.h"
#include "framework/sql/collation.h"
#include "framework/sql/dialect.h"
#include "framework/sql/schema.h"
#include "framework/sql/text.h"

// Databases made before the text columns carried the Polish collation get it here: the
// columns, and with them every index over them, are moved to the collation. A database
// made afterwards has nothing to move, and this costs it one look at its schema.
namespace slownik::sql {
namespace {

struct Saved {
  std::string name;
  std::string sql;
};

bool hasCollatedColumns(const TableDef& table, int number) {
  for (const auto& c : table.columns)
    if (c.since <= number && isCollated(c)) return true;
  return false;
}

// Views and triggers stand in the way of changing a table under them (PostgreSQL
// refuses, SQLite's rename checks them): they are taken away and put back as they were.
Status runAll(Database& db, const std::vector<std::string>& statements) {
  for (const auto& s : statements)
    if (Status e = db.execute(s); !e) return Status::failure(e.message() + " [" + s + "]");
  return {};
}

Status convertSqlite(Database& db, int number) {
  const Dialect& dialect = db.dialect();
  std::vector<const TableDef*> tables;
  for (const auto& table : Catalogue::instance().tables()) {
    if (table.isView || table.since >= number || !hasCollatedColumns(table, number)) continue;
    Result r;
    std::vector<Param> name{table.name};
    if (Status e = db.execute("SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ? COLLATE NOCASE", name, &r);
        !e)
      return e;
    if (r.empty() || toUpperAscii(r.scalar()).find(std::string("COLLATE ") + std::string(kCollationName)) != std::string::npos)
      continue;
    tables.push_back(&table);
  }
  if (tables.empty()) return {};

  Result schema;
  if (Status e = db.execute("SELECT type, name, sql FROM sqlite_schema WHERE type IN ('view', 'trigger') AND sql IS NOT NULL "
                            "ORDER BY CASE type WHEN 'view' THEN 0 ELSE 1 END, rowid",
                            &schema);
      !e)
    return e;
  std::vector<std::string> drop, restore;
  for (std::size_t i = 0; i < schema.size(); ++i) {
    const std::string type = schema.text(i, 0) == "view" ? "VIEW" : "TRIGGER";
    drop.insert(drop.begin(), "DROP " + type + " IF EXISTS \"" + schema.text(i, 1) + "\"");
    restore.push_back(schema.text(i, 2));
  }
  if (Status e = runAll(db, drop); !e) return e;

  for (const TableDef* table : tables) {
    Result indexes;
    std::vector<Param> name{table->name};
    if (Status e = db.execute("SELECT name, sql FROM sqlite_schema WHERE type = 'index' AND tbl_name = ? COLLATE NOCASE "
                              "AND sql IS NOT NULL ORDER BY rowid",
                              name, &indexes);
        !e)
      return e;
    std::vector<std::string> keys = indexStatements(dialect, *table);
    std::set<std::string> keyNames;
    for (const auto& k : table->keys)
      if (!k.primary) keyNames.insert(indexName(*table, k));
    std::string columns;
    for (const auto& c : table->columns)
      if (c.since <= number) columns += (columns.empty() ? "" : ", ") + c.name;
    const std::string fresh = table->name + "__PL";
    std::vector<std::string> steps = {
        "DROP TABLE IF EXISTS " + fresh,
        "CREATE TABLE " + fresh + " (" + tableColumnsSql(dialect, *table, number) + ")",
        "INSERT INTO " + fresh + " (" + columns + ") SELECT " + columns + " FROM " + table->name,
        "DROP TABLE " + table->name,
        "ALTER TABLE " + fresh + " RENAME TO " + table->name,
    };
    // The keys' indexes are made anew (their folded text now sorts in the collation);
    // any other index (the unique ones, with the values they leave out) as it was.
    for (auto& k : keys) steps.push_back(std::move(k));
    for (std::size_t i = 0; i < indexes.size(); ++i)
      if (!keyNames.count(toUpperAscii(indexes.text(i, 0)))) steps.push_back(indexes.text(i, 1));
    if (Status e = runAll(db, steps); !e) return e;
  }
  return runAll(db, restore);
}

Status convertPostgres(Database& db, int number) {
  const Dialect& dialect = db.dialect();
  if (Status e = db.execute(dialect.collationSetup()); !e) return e;
  Result stale;
  if (Status e = db.execute("SELECT c.relname, a.attname FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid "
                            "JOIN pg_namespace s ON s.oid = c.relnamespace "
                            "WHERE s.nspname = current_schema() AND c.relkind IN ('r', 'p') AND a.attnum > 0 "
                            "AND NOT a.attisdropped AND a.atttypid IN ('varchar'::regtype, 'text'::regtype) "
                            "AND a.attcollation <> '" + toLowerAscii(kCollationName) + "'::regcollation",
                            &stale);
      !e)
    return e;
  std::vector<std::string> alters;
  for (const auto& table : Catalogue::instance().tables()) {
    if (table.isView || table.since > number) continue;
    std::string clauses;
    for (const auto& c : table.columns) {
      if (c.since > number || !isCollated(c)) continue;
      bool found = false;
      for (std::size_t i = 0; i < stale.size() && !found; ++i)
        found = equalsIgnoreCase(stale.text(i, 0), table.name) && equalsIgnoreCase(stale.text(i, 1), c.name);
      if (found) clauses += (clauses.empty() ? "" : ", ") + ("ALTER COLUMN " + c.name + " TYPE " + dialect.columnType(c));
    }
    if (!clauses.empty()) alters.push_back("ALTER TABLE " + table.name + " " + clauses);
  }
  if (alters.empty()) return {};

  Result views, triggers;
  if (Status e = db.execute("SELECT c.relname, pg_get_viewdef(c.oid) FROM pg_class c "
                            "JOIN pg_namespace s ON s.oid = c.relnamespace "
                            "WHERE s.nspname = current_schema() AND c.relkind = 'v' ORDER BY c.oid",
                            &views);
      !e)
    return e;
  if (Status e = db.execute("SELECT t.tgname, c.relname, c.relkind, pg_get_triggerdef(t.oid) FROM pg_trigger t "
                            "JOIN pg_class c ON c.oid = t.tgrelid JOIN pg_namespace s ON s.oid = c.relnamespace "
                            "WHERE s.nspname = current_schema() AND NOT t.tgisinternal ORDER BY t.oid",
                            &triggers);
      !e)
    return e;
  std::vector<std::string> drop, restore;
  for (std::size_t i = 0; i < triggers.size(); ++i)
    if (triggers.text(i, 2) != "v")  // a view's triggers go with the view
      drop.push_back("DROP TRIGGER \"" + triggers.text(i, 0) + "\" ON \"" + triggers.text(i, 1) + "\"");
  for (std::size_t i = views.size(); i-- > 0;) drop.push_back("DROP VIEW IF EXISTS \"" + views.text(i, 0) + "\"");
  for (std::size_t i = 0; i < views.size(); ++i)
    restore.push_back("CREATE VIEW \"" + views.text(i, 0) + "\" AS " + views.text(i, 1));
  for (std::size_t i = 0; i < triggers.size(); ++i) restore.push_back(triggers.text(i, 3));
  if (Status e = runAll(db, drop); !e) return e;
  // Each table is rewritten once, its indexes rebuilt in the new collation.
  if (Status e = runAll(db, alters); !e) return e;
  return runAll(db, restore);
}

}  // namespace

Status convertToPolishOrder(Database& db, int number) {
  return db.backend() == Backend::Postgres ? convertPostgres(db, number) : convertSqlite(db, number);
}

}  // namespace slownik::sql
