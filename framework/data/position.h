#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/sql/result.h"

namespace slownik::data {

//! A row's position in a view: the values of its order key, kept as one string that
//! the list stores per row. Each value is "<length>:<bytes>" or "N;" for NULL, so any
//! text (separators, apostrophes, binary) survives the round trip.
std::string encodePosition(std::span<const sql::Cell> values);
//! The position of a row read by a view: its order values stand at these columns.
std::string encodePosition(std::span<const sql::Cell> row, std::span<const std::size_t> columns);
//! false when the text is not a position (the values are then left empty).
bool decodePosition(std::string_view position, std::vector<sql::Cell>* values);

}  // namespace slownik::data
