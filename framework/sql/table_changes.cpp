#include "framework/sql/table_changes.h"

#include <atomic>
#include <cctype>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "framework/sql/text.h"

namespace slownik::sql {
namespace {

std::atomic<unsigned long long> unknownChanges{0};
std::mutex tablesMutex;
std::map<std::string, unsigned long long>& tableCounts() {
  static auto* counts = new std::map<std::string, unsigned long long>();  // threads may outlive main()
  return *counts;
}

struct Words {
  std::string_view s;
  std::size_t i = 0;
  // The next word or identifier, upper-cased, quotes and a schema prefix taken off.
  std::string next() {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    std::string word;
    while (i < s.size()) {
      char c = s[i];
      if (c == '"' || c == '[' || c == ']') {
        ++i;
        continue;
      }
      if (c == '.') {  // "dbo.X", "schema"."X": the table is what follows
        word.clear();
        ++i;
        continue;
      }
      if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') break;
      word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      ++i;
    }
    return word;
  }
};

// The tables a statement that starts with WITH writes: those its data-modifying parts
// name (UPDATE t, INSERT INTO t, DELETE FROM t). None: it only reads.
std::vector<std::string> writtenByWith(std::string_view sql) {
  std::vector<std::string> words;
  Words w{sql};
  while (w.i < sql.size()) {
    std::string word = w.next();
    if (word.empty()) {
      ++w.i;
      continue;
    }
    words.push_back(std::move(word));
  }
  std::vector<std::string> tables;
  for (std::size_t k = 0; k + 1 < words.size(); ++k) {
    if (words[k] == "UPDATE") tables.push_back(words[k + 1]);
    if ((words[k] == "INSERT" && words[k + 1] == "INTO") || (words[k] == "DELETE" && words[k + 1] == "FROM"))
      if (k + 2 < words.size()) tables.push_back(words[k + 2]);
  }
  return tables;
}

}  // namespace

unsigned long long changesOf(std::string_view table) {
  std::string name = toUpperAscii(table);
  std::lock_guard lock(tablesMutex);
  auto it = tableCounts().find(name);
  return unknownChanges.load() + (it == tableCounts().end() ? 0 : it->second);
}

void noteUnknownChange() { unknownChanges.fetch_add(1); }

void noteStatement(std::string_view backendSql) {
  Words w{backendSql};
  std::string first = w.next();
  if (first == "SELECT" || first == "BEGIN" || first == "COMMIT" || first == "ROLLBACK" || first == "SAVEPOINT" ||
      first == "RELEASE" || first == "SET" || first == "DEALLOCATE" || first == "ANALYZE" || first == "EXPLAIN" ||
      first == "PRAGMA" || first == "VALUES" || first.empty())
    return;
  if (first == "WITH") {
    std::vector<std::string> tables = writtenByWith(backendSql);
    std::lock_guard lock(tablesMutex);
    for (const auto& t : tables) ++tableCounts()[t];
    return;
  }
  std::string table;
  if (first == "INSERT" || first == "REPLACE") {
    std::string word = w.next();
    if (word == "OR") {  // INSERT OR REPLACE INTO
      w.next();
      word = w.next();
    }
    table = word == "INTO" ? w.next() : std::string();
  } else if (first == "UPDATE") {
    table = w.next();
  } else if (first == "DELETE") {
    table = w.next() == "FROM" ? w.next() : std::string();
  } else if (first == "TRUNCATE") {
    table = w.next();
    if (table == "TABLE") table = w.next();
  }
  if (table.empty() || table == "ONLY") {
    noteUnknownChange();
    return;
  }
  std::lock_guard lock(tablesMutex);
  ++tableCounts()[table];
}

}  // namespace slownik::sql
