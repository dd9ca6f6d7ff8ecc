#pragma once
#include <memory>
#include <string>
#include <unordered_map>

#include "framework/sql/table_def.h"

namespace slownik::data {

//! The calling thread's instance of T for a table (T is constructed from the TableDef
//! and answers table()). Each thread has its own map, so no two threads ever share an
//! instance and no lock is needed. A different definition under the same table name
//! (tests define their own tables) replaces the instance.
template <class T>
T& threadInstance(const sql::TableDef& table) {
  thread_local std::unordered_map<std::string, std::unique_ptr<T>> instances;
  auto& slot = instances[table.name];
  if (!slot || &slot->table() != &table) slot = std::make_unique<T>(table);
  return *slot;
}

}  // namespace slownik::data
