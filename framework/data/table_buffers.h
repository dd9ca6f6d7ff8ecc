#pragma once
#include <string_view>

#include "framework/data/record_buffer.h"

namespace slownik::data {

//! The calling thread's record buffer of a table. Two threads never share one.
RecordBuffer& buffer(const sql::TableDef& table);
//! By table name or record prefix: the catalogue's tables and any table this thread
//! has used; nullptr when unknown.
RecordBuffer* buffer(std::string_view nameOrPrefix);
//! A field of this thread's buffers by its prefixed name ("BAN:NAZWA"); invalid when
//! the prefix or the column is unknown.
Field field(std::string_view prefixedName);
//! A table by name or prefix: the catalogue first, then the tables this thread has used.
const sql::TableDef* findTable(std::string_view nameOrPrefix);

}  // namespace slownik::data
