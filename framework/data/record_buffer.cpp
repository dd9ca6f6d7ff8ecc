#include "framework/data/record_buffer.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "framework/data/decimal_text.h"
#include "framework/sql/text.h"

namespace slownik::data {
namespace {

using sql::ColumnType;

std::string plainNumber(double v) {
  if (v == std::trunc(v) && std::fabs(v) < 9.2e18) return std::to_string(static_cast<long long>(v));
  return sql::sqlNumber(v);
}

double parseNumber(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c == ',') c = '.';
  char* end = nullptr;
  double v = std::strtod(s.c_str(), &end);
  return end == s.c_str() || !std::isfinite(v) ? 0.0 : v;
}

// Integral kinds take the value as the runtime's typed variables do: the fraction is
// dropped and the value wraps to the type's width.
double fitToType(const sql::ColumnDef& c, double v) {
  if (!std::isfinite(v)) return 0;
  switch (c.type) {
    case ColumnType::Byte: return static_cast<double>(static_cast<std::uint8_t>(static_cast<long long>(v)));
    case ColumnType::Short: return static_cast<double>(static_cast<std::int16_t>(static_cast<long long>(v)));
    case ColumnType::Long:
    case ColumnType::Date:
    case ColumnType::Time: return static_cast<double>(static_cast<std::int32_t>(static_cast<long long>(v)));
    case ColumnType::Id: return std::trunc(v);
    default: return v;
  }
}

}  // namespace

bool isTextColumn(const sql::ColumnDef& c) { return c.type == ColumnType::Text || c.type == ColumnType::Memo; }

bool isIntegralColumn(const sql::ColumnDef& c) {
  switch (c.type) {
    case ColumnType::Long:
    case ColumnType::Short:
    case ColumnType::Byte:
    case ColumnType::Id:
    case ColumnType::Date:
    case ColumnType::Time: return true;
    default: return false;
  }
}

// ---- Field ----

const sql::ColumnDef* Field::column() const {
  return isValid() ? &buffer_->table().columns[static_cast<std::size_t>(index_)] : nullptr;
}

std::string Field::name() const {
  return isValid() ? buffer_->table().prefix + ":" + column()->name : std::string();
}

std::string Field::text() const {
  if (!isValid()) return {};
  const auto& value = buffer_->values_[static_cast<std::size_t>(index_)];
  switch (column()->type) {
    case ColumnType::Text:
    case ColumnType::Memo:
    case ColumnType::Decimal:
    case ColumnType::Blob: return value.text;
    default: return plainNumber(value.number);
  }
}

double Field::number() const {
  if (!isValid()) return 0;
  const auto& value = buffer_->values_[static_cast<std::size_t>(index_)];
  switch (column()->type) {
    case ColumnType::Text:
    case ColumnType::Memo:
    case ColumnType::Decimal: return parseNumber(value.text);
    case ColumnType::Blob: return 0;
    default: return value.number;
  }
}

long long Field::integer() const {
  double v = number();
  return std::isfinite(v) && std::fabs(v) < 9.2e18 ? static_cast<long long>(v) : 0;
}

void Field::set(std::string_view value) {
  if (isValid()) buffer_->assignText(static_cast<std::size_t>(index_), value);
}

void Field::set(double value) {
  if (isValid()) buffer_->assignNumber(static_cast<std::size_t>(index_), value);
}

void Field::clear() {
  if (!isValid()) return;
  buffer_->values_[static_cast<std::size_t>(index_)] = {};
  if (column()->type == ColumnType::Decimal)
    buffer_->values_[static_cast<std::size_t>(index_)].text = canonicalDecimal("0", column()->scale);
}

// ---- RecordBuffer ----

RecordBuffer::RecordBuffer(const sql::TableDef& table) : table_(&table), values_(table.columns.size()) { clear(); }

int RecordBuffer::indexOf(std::string_view name) const {
  if (std::size_t colon = name.find(':'); colon != std::string_view::npos) {
    if (!sql::equalsIgnoreCase(name.substr(0, colon), table_->prefix)) return -1;
    name.remove_prefix(colon + 1);
  }
  return table_->columnIndex(name);
}

void RecordBuffer::clear() {
  for (std::size_t i = 0; i < values_.size(); ++i) field(i).clear();
}

void RecordBuffer::assignText(std::size_t i, std::string_view value) {
  const sql::ColumnDef& c = table_->columns[i];
  Value& v = values_[i];
  switch (c.type) {
    case ColumnType::Text:
      v.text = c.size > 0 ? sql::truncateUtf8(value, static_cast<std::size_t>(c.size)) : std::string(value);
      break;
    case ColumnType::Memo:
    case ColumnType::Blob: v.text = std::string(value); break;
    case ColumnType::Decimal: v.text = canonicalDecimal(value, c.scale); break;
    default: v.number = fitToType(c, parseNumber(value));
  }
}

void RecordBuffer::assignNumber(std::size_t i, double value) {
  const sql::ColumnDef& c = table_->columns[i];
  Value& v = values_[i];
  switch (c.type) {
    case ColumnType::Text:
    case ColumnType::Memo:
    case ColumnType::Blob: assignText(i, plainNumber(value)); break;
    case ColumnType::Decimal: v.text = decimalFromDouble(value, c.scale); break;
    default: v.number = fitToType(c, value);
  }
}

int RecordBuffer::compare(const RecordBuffer& other) const {
  if (table_->name != other.table_->name) return table_->name < other.table_->name ? -1 : 1;
  for (std::size_t i = 0; i < values_.size() && i < other.values_.size(); ++i) {
    const Value& a = values_[i];
    const Value& b = other.values_[i];
    int c = 0;
    switch (table_->columns[i].type) {
      case ColumnType::Text:
      case ColumnType::Memo:
      case ColumnType::Blob: c = a.text.compare(b.text); break;
      case ColumnType::Decimal: c = compareDecimal(a.text, b.text); break;
      default: c = a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    }
    if (c != 0) return c < 0 ? -1 : 1;
  }
  return 0;
}

sql::Param RecordBuffer::param(std::size_t i) const {
  const sql::ColumnDef& c = table_->columns[i];
  const Value& v = values_[i];
  switch (c.type) {
    case ColumnType::Text:
    case ColumnType::Memo:
    case ColumnType::Decimal: return v.text;
    case ColumnType::Blob: return sql::Blob{v.text};
    case ColumnType::Real: return v.number;
    default: return static_cast<long long>(v.number);
  }
}

void RecordBuffer::load(std::size_t i, const sql::Cell& cell) {
  if (i >= values_.size()) return;
  if (!cell) {
    field(i).clear();
    return;
  }
  // Values from the database are taken as they are, except that a text wider than
  // its field is still cut: the buffer never holds more than the field can show.
  assignText(i, *cell);
}

}  // namespace slownik::data
