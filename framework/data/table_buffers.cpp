#include "framework/data/table_buffers.h"

#include <vector>

#include "framework/data/thread_instances.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/text.h"

namespace slownik::data {
namespace {

// Tables outside the catalogue that this thread has given a buffer (test tables,
// result tables built at run time), so that lookups by prefix find them too.
thread_local std::vector<const sql::TableDef*> threadTables;

}  // namespace

const sql::TableDef* findTable(std::string_view nameOrPrefix) {
  if (const sql::TableDef* t = sql::Catalogue::instance().find(nameOrPrefix)) return t;
  for (auto it = threadTables.rbegin(); it != threadTables.rend(); ++it) {
    if (sql::equalsIgnoreCase((*it)->name, nameOrPrefix) || sql::equalsIgnoreCase((*it)->prefix, nameOrPrefix))
      return *it;
  }
  return nullptr;
}

RecordBuffer& buffer(const sql::TableDef& table) {
  if (sql::Catalogue::instance().find(table.name) != &table) {
    bool known = false;
    for (auto& t : threadTables) {
      if (t == &table) known = true;
    }
    if (!known) {
      std::erase_if(threadTables, [&](const sql::TableDef* t) { return t->name == table.name; });
      threadTables.push_back(&table);
    }
  }
  return threadInstance<RecordBuffer>(table);
}

RecordBuffer* buffer(std::string_view nameOrPrefix) {
  const sql::TableDef* table = findTable(nameOrPrefix);
  return table ? &buffer(*table) : nullptr;
}

Field field(std::string_view prefixedName) {
  std::size_t colon = prefixedName.find(':');
  if (colon == std::string_view::npos) return {};
  RecordBuffer* b = buffer(prefixedName.substr(0, colon));
  return b ? b->field(prefixedName) : Field{};
}

}  // namespace slownik::data
