#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "framework/data/record_buffer.h"

namespace slownik::data {

//! A key of the table by its name, with or without the record prefix ("BAN:KEY_ID" or
//! "KEY_ID"), ignoring letter case; nullptr when the table has no such key.
const sql::KeyDef* findKey(const sql::TableDef& table, std::string_view name);
//! The key that identifies a row: the primary key, else the first unique key; nullptr
//! when the table has neither.
const sql::KeyDef* uniqueKey(const sql::TableDef& table);
//! The key's component values taken from the record buffer, in component order.
std::vector<sql::Param> keyValues(const RecordBuffer& buffer, const sql::KeyDef& key);
//! "COL1 = ? AND COL2 = ?" for the key's components; a case-insensitive key compares
//! its text components through UPPER() on both sides.
std::string keyCondition(const sql::TableDef& table, const sql::KeyDef& key);

}  // namespace slownik::data
