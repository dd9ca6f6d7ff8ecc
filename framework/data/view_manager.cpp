#include "framework/data/view_manager.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <span>

#include "framework/data/file_manager.h"
#include "framework/data/keys.h"
#include "framework/data/position.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/error_state.h"
#include "framework/sql/collation.h"
#include "framework/sql/dialect.h"
#include "framework/sql/text.h"
#include "framework/sql/thread_database.h"

namespace slownik::data {
namespace {

using sql::ColumnType;

constexpr int kReadAhead = 64;  // rows next() reads per statement

// A LIKE pattern for text typed by the user, with '!' escaping LIKE's own characters.
std::string likePattern(std::string_view typed, bool anywhere) {
  std::string pattern = anywhere ? "%" : "";
  for (char c : typed) {
    if (c == '!' || c == '%' || c == '_') pattern += '!';
    pattern += c;
  }
  return pattern + '%';
}

// What a LIKE compares for a field: a number by the digits it is written with.
std::string likeOperand(const NameBinding& b) {
  return b.type == ColumnType::Text || b.type == ColumnType::Memo ? b.sql : "CAST(" + b.sql + " AS VARCHAR(40))";
}

std::string trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return std::string(s);
}

// Splits an order text at the commas that are not inside parentheses or apostrophes.
std::vector<std::string> splitOrder(std::string_view text) {
  std::vector<std::string> parts;
  std::string current;
  int depth = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '\'') quoted = !quoted;
    if (!quoted && c == '(') ++depth;
    if (!quoted && c == ')') --depth;
    if (!quoted && depth == 0 && c == ',') {
      parts.push_back(trim(current));
      current.clear();
    } else {
      current += c;
    }
  }
  parts.push_back(trim(current));
  return parts;
}

// Where the backend's indexes keep NULLs: above every value on PostgreSQL, below on SQLite.
bool nullsSortHigh() {
  sql::Database* db = sql::threadDatabase(nullptr);
  return db && db->backend() == sql::Backend::Postgres;
}

bool sameFragment(const SqlFragment& a, const SqlFragment& b) { return a.text == b.text && a.params.empty() && b.params.empty(); }

}  // namespace

ViewManager::ViewManager(const sql::TableDef& main) : main_(&main) { sources_.push_back({&main, "A", {}}); }

ViewManager::~ViewManager() { close(); }

int ViewManager::fail(int code, std::string text) {
  errorCode_ = code;
  errorText_ = std::move(text);
  rt::setError(code, errorText_);
  return code;
}

int ViewManager::succeed() {
  errorCode_ = 0;
  errorText_.clear();
  return 0;
}

void ViewManager::shapeChanged() {
  selectCache_.reset();
  orderCache_[0].reset();
  orderCache_[1].reset();
}

// ---- names ----

std::string ViewManager::aliasOfPrefix(std::string_view prefix) const {
  for (const auto& s : sources_)
    if (sql::equalsIgnoreCase(s.table->prefix, prefix)) return s.alias;
  return {};
}

NameBinding ViewManager::resolve(std::string_view name) const {
  for (const auto& b : bound_)
    if (sql::equalsIgnoreCase(b.name, name)) return b.binding;
  std::string_view prefix, column = name;
  if (std::size_t colon = name.find(':'); colon != std::string_view::npos) {
    prefix = name.substr(0, colon);
    column = name.substr(colon + 1);
  }
  for (std::size_t i = 0; i < sources_.size(); ++i) {
    const Source& s = sources_[i];
    if (!prefix.empty() && !sql::equalsIgnoreCase(s.table->prefix, prefix)) continue;
    if (const sql::ColumnDef* c = s.table->column(sql::toUpperAscii(column))) {
      NameBinding b;
      b.kind = NameBinding::Column;
      b.sql = s.alias + "." + c->name;
      b.type = c->type;
      b.nullable = c->nullable || i > 0;  // a left join may find no row
      return b;
    }
  }
  return {};
}

bool ViewManager::hasField(std::string_view name) const { return resolve(name).kind != NameBinding::Unknown; }

bool ViewManager::isTextField(std::string_view name) const {
  NameBinding b = resolve(name);
  return b.kind != NameBinding::Unknown && (b.type == ColumnType::Text || b.type == ColumnType::Memo);
}

// ---- shape ----

int ViewManager::addJoin(const sql::TableDef& table, std::string_view condition) {
  Source source{&table, std::string(1, static_cast<char>('A' + sources_.size())), {}};
  sources_.push_back(source);
  CompiledExpression on = compileCondition(condition, [this](std::string_view n) { return resolve(n); });
  if (!on.ok()) {
    sources_.pop_back();
    return fail(kBadExpression, on.error);
  }
  sources_.back().on = std::move(on.sql);
  shapeChanged();
  return succeed();
}

void ViewManager::bindExpression(std::string name, std::string sqlExpression, ColumnType type) {
  NameBinding b;
  b.kind = NameBinding::Expression;
  b.sql = replacePrefixes(sqlExpression, [this](std::string_view p) { return aliasOfPrefix(p); });
  b.sql.insert(b.sql.begin(), '(');
  b.sql.push_back(')');
  b.type = type;
  b.nullable = true;
  std::erase_if(bound_, [&](const Bound& x) { return sql::equalsIgnoreCase(x.name, name); });
  bound_.push_back({std::move(name), std::move(b)});
  shapeChanged();
}

void ViewManager::bindValue(std::string name, ParamSource value, ColumnType type) {
  NameBinding b;
  b.kind = NameBinding::Value;
  b.type = type;
  b.value = std::move(value);
  std::erase_if(bound_, [&](const Bound& x) { return sql::equalsIgnoreCase(x.name, name); });
  bound_.push_back({std::move(name), std::move(b)});
  shapeChanged();
}

// ---- limits ----

int ViewManager::addRange(std::string_view field, sql::Param value) {
  sql::Param copy = value;
  return addRange(field, std::move(value), std::move(copy)) == 0 ? (ranges_.back().between = false, 0) : errorCode_;
}

int ViewManager::addRange(std::string_view field, sql::Param low, sql::Param high) {
  RecordBuffer probe(*main_);
  int index = probe.indexOf(field);
  if (index < 0) return fail(kBadExpression, "Pole " + std::string(field) + " nie należy do tabeli " + main_->name + ".");
  ranges_.push_back({"A." + main_->columns[static_cast<std::size_t>(index)].name, index, std::move(low), std::move(high), true});
  reset();
  return succeed();
}

void ViewManager::clearRanges() {
  ranges_.clear();
  reset();
}

int ViewManager::setFilter(std::string_view expression) {
  std::string text = trim(expression);
  if (text.empty()) {
    filterText_.clear();
    filter_ = {};
    reset();
    return succeed();
  }
  CompiledExpression e = compileCondition(text, [this](std::string_view n) { return resolve(n); });
  if (!e.ok()) return fail(kBadExpression, e.error);
  filterText_ = text;
  filter_ = std::move(e.sql);
  reset();
  return succeed();
}

void ViewManager::setSqlFilter(std::string_view condition) {
  std::string text = trim(condition);
  bool joins = !text.empty() && text.front() == '+';
  if (joins) text = trim(std::string_view(text).substr(1));
  sqlFilterJoins_ = joins;
  sqlFilterText_ = text.empty() ? std::string() : (joins ? "+" : "") + text;
  sqlFilterSql_ = text.empty() ? std::string()
                               : replacePrefixes(text, [this](std::string_view p) { return aliasOfPrefix(p); });
  reset();
}

int ViewManager::setStartsWithAny(std::string_view field, const std::vector<std::string>& prefixes) {
  startsWith_ = {};
  reset();
  if (prefixes.empty()) return succeed();
  NameBinding b = resolve(field);
  if (b.kind != NameBinding::Column && b.kind != NameBinding::Expression)
    return fail(kBadExpression, "Nieznane pole lokatora: " + std::string(field) + ".");
  startsWith_.append("(");
  for (std::size_t i = 0; i < prefixes.size(); ++i) {
    startsWith_.append((i ? " OR " : "") + likeOperand(b) + " LIKE ? ESCAPE '!'");
    startsWith_.params.push_back([pattern = likePattern(prefixes[i], false)] { return sql::Param(pattern); });
  }
  startsWith_.append(")");
  return succeed();
}

int ViewManager::setLocatorFilter(std::string_view field, std::string_view text, bool anywhere) {
  locatorFilter_ = {};
  locatorRange_ = false;
  if (text.empty()) {
    reset();
    return succeed();
  }
  NameBinding b = resolve(field);
  if (b.kind != NameBinding::Column && b.kind != NameBinding::Expression)
    return fail(kBadExpression, "Nieznane pole lokatora: " + std::string(field) + ".");
  locatorColumn_ = b.kind == NameBinding::Column ? b.sql : std::string();
  if (order_.empty()) completeOrder();
  std::string typed(text);
  const OrderPart& lead = order_[searchedPart()];
  std::string leadName = lead.text.substr(1);
  if (lead.upper) leadName = trim(std::string_view(leadName).substr(6, leadName.size() - 7));
  // "NAZWA" in a header's order and "KRA:NAZWA" in the locator are one column.
  NameBinding leadBinding = resolve(leadName);
  bool leads = lead.expr.params.empty() &&
               (sql::equalsIgnoreCase(leadName, field) || (leadBinding.kind == b.kind && leadBinding.sql == b.sql));
  if (!anywhere && leads && lead.isText) {
    // The rows that start with the text follow each other in the order: from where the
    // text itself would stand up to where it would stand followed by the highest
    // character. Letter case aside: an upper-cased order compares the text upper-cased,
    // and in any other the collation puts small letters before capitals of the same
    // text, so the bound starts from the text in small letters. The order's index
    // answers such a range at any size of the table; a LIKE over UPPER() would not.
    SqlFragment bounds = prefixBounds(lead, typed);
    locatorFilter_.append("(");
    locatorFilter_.append(bounds);
    locatorFilter_.append(")");
    locatorRange_ = true;
  } else {
    const std::string pattern = likePattern(typed, anywhere);
    locatorFilter_.append("UPPER(" + likeOperand(b) + ") LIKE UPPER(?) ESCAPE '!'");
    locatorFilter_.params.push_back([pattern] { return sql::Param(pattern); });
  }
  reset();
  return succeed();
}

// ---- order ----

int ViewManager::addOrderPart(std::string_view component, bool descending) {
  CompiledExpression e = compileValue(component, [this](std::string_view n) { return resolve(n); });
  if (!e.ok()) return fail(kBadExpression, e.error);
  OrderPart part;
  part.text = std::string(descending ? "-" : "+") + std::string(component);
  part.descending = descending;
  part.isText = e.isText;
  part.integral = !e.isText && e.type != ColumnType::Real && e.type != ColumnType::Decimal;
  part.upper = sql::toUpperAscii(component).rfind("UPPER(", 0) == 0;
  part.nullable = e.nullable;
  part.expr = std::move(e.sql);
  // A text column sorts in its own collation; any other text (UPPER(NAZWA), a computed
  // column) is given it, or SQLite would order it by bytes.
  if (part.isText && resolve(trim(component)).kind != NameBinding::Column) part.expr.append(sql::collateClause());
  order_.push_back(std::move(part));
  shapeChanged();
  return 0;
}

void ViewManager::completeOrder() {
  userOrderParts_ = order_.size();
  std::vector<std::pair<std::string, bool>> columns;
  if (const sql::KeyDef* key = uniqueKey(*main_)) {
    for (const auto& c : key->components) columns.emplace_back(c.column, c.descending);
  } else {
    for (const auto& c : main_->columns)
      if (c.type != ColumnType::Blob && c.type != ColumnType::Memo) columns.emplace_back(c.name, false);
  }
  for (const auto& [column, descending] : columns) {
    std::string name = main_->prefix + ":" + column;
    std::size_t before = order_.size();
    if (addOrderPart(name, descending) != 0) continue;
    const OrderPart& added = order_.back();
    for (std::size_t i = 0; i < before; ++i) {
      if (sameFragment(order_[i].expr, added.expr)) {
        order_.pop_back();
        shapeChanged();
        break;
      }
    }
  }
}

int ViewManager::setOrderKey(std::string_view keyName) {
  const sql::KeyDef* key = findKey(*main_, keyName);
  if (!key) return fail(kKeyUnknown, "Tabela " + main_->name + " nie ma klucza " + std::string(keyName) + ".");
  std::vector<OrderPart> saved = std::move(order_);
  order_.clear();
  shapeChanged();
  for (const auto& c : key->components) {
    const sql::ColumnDef* col = main_->column(c.column);
    std::string name = main_->prefix + ":" + c.column;
    if (key->caseInsensitive && col && isTextColumn(*col)) name = "UPPER(" + name + ")";
    if (addOrderPart(name, c.descending) != 0) {
      order_ = std::move(saved);
      shapeChanged();
      return errorCode_;
    }
  }
  completeOrder();
  reset();
  return succeed();
}

int ViewManager::setOrder(std::string_view orderText) {
  std::vector<OrderPart> saved = std::move(order_);
  order_.clear();
  shapeChanged();
  if (!trim(orderText).empty()) {
    for (const std::string& raw : splitOrder(orderText)) {
      std::string_view c = raw;
      bool descending = false;
      if (!c.empty() && (c.front() == '+' || c.front() == '-')) {
        descending = c.front() == '-';
        c.remove_prefix(1);
      }
      std::string component = trim(c);
      if (component.empty() || addOrderPart(component, descending) != 0) {
        if (component.empty()) fail(kBadExpression, "Błąd w porządku \"" + std::string(orderText) + "\": pusty składnik.");
        order_ = std::move(saved);
        shapeChanged();
        return errorCode_;
      }
    }
  }
  completeOrder();
  reset();
  return succeed();
}

std::string ViewManager::orderText() const {
  std::string s;
  for (const auto& p : order_) s += (s.empty() ? "" : ",") + p.text;
  return s;
}

// ---- statements ----

// The order values come back with each row to make its position. Where an order part is
// one of the selected columns its value is read from there; only expressions (such as
// UPPER(NAZWA)) are selected once more, as K<part>.
const SqlFragment& ViewManager::selectFrom() const {
  if (selectCache_) return *selectCache_;
  SqlFragment s;
  s.append("SELECT ");
  std::vector<std::string> selected;
  auto column = [&](const std::string& expr) {
    s.append((selected.empty() ? "" : ", ") + expr + " AS C" + std::to_string(selected.size()));
    selected.push_back(expr);
  };
  for (const auto& src : sources_)
    for (const auto& c : src.table->columns) column(src.alias + "." + c.name);
  for (const auto& b : bound_)
    if (b.binding.kind == NameBinding::Expression) column(b.binding.sql);
  std::size_t dataColumns = selected.size();
  keyColumns_.clear();
  keyNames_.clear();
  for (std::size_t i = 0; i < order_.size(); ++i) {
    const SqlFragment& e = order_[i].expr;
    auto same = std::find(selected.begin(), selected.begin() + static_cast<std::ptrdiff_t>(dataColumns), e.text);
    if (e.params.empty() && same != selected.begin() + static_cast<std::ptrdiff_t>(dataColumns)) {
      std::size_t at = static_cast<std::size_t>(same - selected.begin());
      keyColumns_.push_back(at);
      keyNames_.push_back("C" + std::to_string(at));
      continue;
    }
    s.append(", ");
    s.append(e);
    s.append(" AS K" + std::to_string(i));
    keyColumns_.push_back(selected.size());
    keyNames_.push_back("K" + std::to_string(i));
    selected.push_back(e.text);
  }
  extraKeyColumns_ = selected.size() - dataColumns;
  s.append(" FROM " + main_->name + " A");
  for (std::size_t i = 1; i < sources_.size(); ++i) {
    s.append(" LEFT JOIN " + sources_[i].table->name + " " + sources_[i].alias + " ON ");
    s.append(sources_[i].on);
  }
  selectCache_ = std::move(s);
  return *selectCache_;
}

SqlFragment ViewManager::whereClause() const {
  SqlFragment w;
  auto andWith = [&](const SqlFragment& part) {
    if (part.text.empty()) return;
    w.append(w.text.empty() ? "" : " AND ");
    w.append(part);
  };
  for (const auto& r : ranges_) {
    SqlFragment part;
    sql::Param low = r.low, high = r.high;
    if (r.between) {
      part.append(r.column + " BETWEEN ? AND ?");
      part.params.push_back([low] { return low; });
      part.params.push_back([high] { return high; });
    } else {
      part.append(r.column + " = ?");
      part.params.push_back([low] { return low; });
    }
    andWith(part);
  }
  andWith(locatorFilter_);
  andWith(startsWith_);
  bool sqlReplaces = !sqlFilterSql_.empty() && !sqlFilterJoins_;
  if (!sqlReplaces) andWith(filter_);
  if (!sqlFilterSql_.empty()) {
    SqlFragment part;
    sql::Status status;
    sql::Database* db = sql::threadDatabase(&status);
    part.append("(" + (db ? db->dialect().translate(sqlFilterSql_) : sqlFilterSql_) + ")");
    andWith(part);
  }
  return w;
}

const SqlFragment& ViewManager::orderBy(bool reversed) const {
  if (orderCache_[reversed]) return *orderCache_[reversed];
  SqlFragment s;
  s.append(" ORDER BY ");
  for (std::size_t i = 0; i < order_.size(); ++i) {
    if (i) s.append(", ");
    s.append(order_[i].expr);
    s.append(order_[i].descending != reversed ? " DESC" : " ASC");
  }
  orderCache_[reversed] = std::move(s);
  return *orderCache_[reversed];
}

sql::Param ViewManager::orderParam(const OrderPart& part, const sql::Cell& value) const {
  if (!value) return std::monostate{};
  if (part.isText) return *value;
  if (part.integral) return std::strtoll(value->c_str(), nullptr, 10);
  return std::strtod(value->c_str(), nullptr);
}

// The range of the part's values that start with `typed`, as bound parameters: Low and
// High give one side only. An upper-cased part compares with the text folded by the
// database itself; any other with the text in small letters below (they sort before
// capitals in the collation) and the text as typed above, so that every letter case of
// it lies between.
SqlFragment ViewManager::prefixBounds(const OrderPart& part, const std::string& typed, PrefixBound side) const {
  const std::string high = sql::prefixUpperBound(typed);
  const char* low = part.upper ? "UPPER(?)" : "LOWER(?)";
  const char* top = part.upper ? "UPPER(?)" : "?";
  SqlFragment s;
  if (side != PrefixBound::High) {
    s.append(part.expr);
    s.append(std::string(" >= ") + low);
    s.params.push_back([typed] { return sql::Param(typed); });
  }
  if (side == PrefixBound::Both) s.append(" AND ");
  if (side != PrefixBound::Low) {
    s.append(part.expr);
    s.append(std::string(" < ") + top);
    s.params.push_back([high] { return sql::Param(high); });
  }
  return s;
}

// "part op value"; equality with a NULL is spelled IS NULL, which an index also serves.
SqlFragment ViewManager::compare(std::size_t i, const sql::Cell& value, const char* op) const {
  SqlFragment s;
  s.append(order_[i].expr);
  if (!value && std::string_view(op) == "=") {
    s.append(" IS NULL");
    return s;
  }
  sql::Param v = orderParam(order_[i], value);
  s.append(std::string(" ") + op + " ?");
  s.params.push_back([v] { return v; });
  return s;
}

// Rows strictly past the position when reading forward (the view's order) or backward.
// NULLs sort where the backend's indexes keep them (above every value on PostgreSQL,
// below on SQLite), so ORDER BY and every condition match an index and a page costs the
// same at any depth of a large table.
//  - When all parts run one way and no NULL can lie past the position, one row-value
//    comparison does it: both backends start an index scan right at the position.
//  - Otherwise the rows past the position are, for each part i, those equal to it on the
//    parts before i and past it on part i, plus (where NULLs follow the values) those
//    with NULL there. Each branch is one index range; query() reads each in order, at most
//    a page of it, and sorts only those few rows together. An OR of the branches would
//    make either backend scan from the start of the table instead.
std::vector<SqlFragment> ViewManager::keysetBranches(const std::vector<sql::Cell>& values, bool forward,
                                                     bool nullsHigh) const {
  auto ascends = [&](const OrderPart& p) { return p.descending != forward; };
  auto nullsAfter = [&](const OrderPart& p) { return nullsHigh == ascends(p); };
  bool rowValue = true;
  for (std::size_t i = 0; i < order_.size(); ++i) {
    const OrderPart& p = order_[i];
    if (p.descending != order_[0].descending || !values[i] || (p.nullable && nullsAfter(p))) rowValue = false;
  }
  std::vector<SqlFragment> branches;
  if (rowValue) {
    SqlFragment s;
    s.append("(");
    for (std::size_t i = 0; i < order_.size(); ++i) {
      if (i) s.append(", ");
      s.append(order_[i].expr);
    }
    s.append(ascends(order_[0]) ? ") > (" : ") < (");
    for (std::size_t i = 0; i < order_.size(); ++i) {
      sql::Param v = orderParam(order_[i], values[i]);
      s.append(i ? ", ?" : "?");
      s.params.push_back([v] { return v; });
    }
    s.append(")");
    branches.push_back(std::move(s));
    return branches;
  }
  for (std::size_t i = order_.size(); i-- > 0;) {
    const OrderPart& p = order_[i];
    SqlFragment prefix;
    for (std::size_t j = 0; j < i; ++j) {
      prefix.append(compare(j, values[j], "="));
      prefix.append(" AND ");
    }
    auto add = [&](const SqlFragment& tail) {
      SqlFragment b = prefix;
      b.append(tail);
      branches.push_back(std::move(b));
    };
    if (!values[i]) {
      // Past a NULL come the values when NULLs sort first, nothing on this part otherwise.
      if (!nullsAfter(p)) add(SqlFragment{p.expr.text + " IS NOT NULL", p.expr.params});
      continue;
    }
    add(compare(i, values[i], ascends(p) ? ">" : "<"));
    if (p.nullable && nullsAfter(p)) add(SqlFragment{p.expr.text + " IS NULL", p.expr.params});
  }
  if (branches.empty()) branches.push_back(SqlFragment{"1 = 0", {}});  // the position is the last row
  return branches;
}

SqlFragment ViewManager::branchSelect(const SqlFragment& where, const SqlFragment& branch, bool reversed, int n) const {
  const SqlFragment& select = selectFrom();
  const SqlFragment& order = orderBy(reversed);
  SqlFragment statement;
  statement.text.reserve(select.text.size() + where.text.size() + branch.text.size() + order.text.size() + 32);
  statement.append(select);
  if (!where.text.empty() && !branch.text.empty()) {
    statement.append(" WHERE (");
    statement.append(where);
    statement.append(") AND ");
    statement.append(branch);
  } else if (!where.text.empty() || !branch.text.empty()) {
    statement.append(" WHERE ");
    statement.append(where.text.empty() ? branch : where);
  }
  statement.append(order);
  statement.append(" LIMIT ");
  statement.append(std::to_string(std::max(n, 0)));
  return statement;
}

SqlFragment ViewManager::statementFor(const SqlFragment& where, const std::vector<SqlFragment>& branches, bool reversed,
                                      int n) const {
  if (branches.size() <= 1) return branchSelect(where, branches.empty() ? SqlFragment{} : branches.front(), reversed, n);
  SqlFragment statement;
  for (std::size_t i = 0; i < branches.size(); ++i) {
    statement.append(i ? " UNION ALL SELECT * FROM (" : "SELECT * FROM (");
    statement.append(branchSelect(where, branches[i], reversed, n));
    statement.append(") Q" + std::to_string(i));
  }
  statement.append(outerOrder(reversed));
  statement.append(" LIMIT " + std::to_string(std::max(n, 0)));
  return statement;
}

// ORDER BY over the order values as a statement's output names them.
std::string ViewManager::outerOrder(bool reversed) const {
  std::string s = " ORDER BY ";
  for (std::size_t i = 0; i < order_.size(); ++i)
    s += (i ? ", " : "") + keyNames_[i] + (order_[i].descending != reversed ? " DESC" : " ASC");
  return s;
}

int ViewManager::run(SqlFragment statement, sql::Result* r) {
  sql::Status status;
  sql::Database* db = sql::threadDatabase(&status);
  if (!db) return fail(kNoConnection, "Brak połączenia z bazą danych: " + status.message());
  std::vector<sql::Param> params = statement.values();
  sql::Status s = db->execute(statement.text, params, r);
  lastSql_ = std::move(statement.text);
  if (!s) return fail(kDatabaseError, "Błąd odczytu widoku tabeli " + main_->name + ": " + s.message());
  return 0;
}

ViewRow ViewManager::rowOf(std::vector<sql::Cell>&& row, std::size_t skip) const {
  ViewRow v;
  if (skip) row.erase(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(skip));
  v.position = encodePosition(row, keyColumns_);
  row.resize(row.size() - extraKeyColumns_);
  v.values = std::move(row);
  return v;
}

int ViewManager::query(const std::vector<SqlFragment>& branches, bool reversed, int n, std::vector<ViewRow>& rows) {
  rows.clear();
  if (!open_) return fail(kDatabaseError, "Widok tabeli " + main_->name + " nie jest otwarty.");
  if (order_.empty()) completeOrder();
  SqlFragment where = whereClause();
  selectFrom();  // settles where each row's order values stand
  sql::Result r;
  if (int rc = run(statementFor(where, branches, reversed, n), &r); rc != 0) return rc;
  std::size_t width = 0;
  for (std::size_t c : keyColumns_) width = std::max(width, c + 1);
  rows.reserve(r.rows.size());
  for (auto& row : r.rows) {
    if (row.size() < width) continue;
    rows.push_back(rowOf(std::move(row), 0));
  }
  if (reversed) std::reverse(rows.begin(), rows.end());
  return succeed();
}

int ViewManager::pageAround(std::string_view position, int before, int after, std::vector<ViewRow>& earlier,
                            std::vector<ViewRow>& later) {
  earlier.clear();
  later.clear();
  if (!open_) return fail(kDatabaseError, "Widok tabeli " + main_->name + " nie jest otwarty.");
  std::vector<sql::Cell> values;
  if (int rc = positionValues(position, values); rc != 0) return rc;
  SqlFragment where = whereClause();
  selectFrom();
  const bool nullsHigh = nullsSortHigh();
  // The rows from the position on: past it, or the row at it (the whole order holds the
  // unique key, so that is one row at most).
  std::vector<SqlFragment> fromIt = keysetBranches(values, true, nullsHigh);
  if (fromIt.size() == 1 && fromIt.front().text == "1 = 0") fromIt.clear();
  SqlFragment at;
  at.append("(");
  for (std::size_t i = 0; i < order_.size(); ++i) {
    if (i) at.append(" AND ");
    at.append(compare(i, values[i], "="));
  }
  at.append(")");
  fromIt.push_back(std::move(at));
  // Both sides in one statement, marked by the side they come from, in the view's order.
  SqlFragment statement;
  statement.append("SELECT 0 AS SIDE_, B_.* FROM (");
  statement.append(statementFor(where, keysetBranches(values, false, nullsHigh), true, std::max(before, 0)));
  statement.append(") B_ UNION ALL SELECT 1, A_.* FROM (");
  statement.append(statementFor(where, fromIt, false, std::max(after, 0)));
  statement.append(") A_");
  std::string order = outerOrder(false);
  statement.append(" ORDER BY SIDE_, " + order.substr(std::string_view(" ORDER BY ").size()));
  sql::Result r;
  if (int rc = run(std::move(statement), &r); rc != 0) return rc;
  std::size_t width = 1;
  for (std::size_t c : keyColumns_) width = std::max(width, c + 2);
  for (auto& row : r.rows) {
    if (row.size() < width) continue;
    bool isBefore = row.front() && *row.front() == "0";
    (isBefore ? earlier : later).push_back(rowOf(std::move(row), 1));
  }
  return succeed();
}

// ---- use ----

int ViewManager::open() {
  open_ = true;
  if (order_.empty()) completeOrder();
  reset();
  return succeed();
}

void ViewManager::close() {
  open_ = false;
  reset();
}

void ViewManager::reset() {
  pending_.clear();
  pendingIndex_ = 0;
  lastPosition_.clear();
  exhausted_ = false;
}

int ViewManager::firstPage(int n, std::vector<ViewRow>& rows) { return query({}, false, n, rows); }

int ViewManager::lastPage(int n, std::vector<ViewRow>& rows) { return query({}, true, n, rows); }

int ViewManager::positionValues(std::string_view position, std::vector<sql::Cell>& values) {
  if (order_.empty()) completeOrder();
  if (!decodePosition(position, &values) || values.size() != order_.size())
    return fail(kRecordNotFound, "Niepoprawna pozycja w widoku tabeli " + main_->name + ".");
  return 0;
}

int ViewManager::pageAfter(std::string_view position, int n, std::vector<ViewRow>& rows) {
  std::vector<sql::Cell> values;
  if (int rc = positionValues(position, values); rc != 0) {
    rows.clear();
    return rc;
  }
  return query(keysetBranches(values, true, nullsSortHigh()), false, n, rows);
}

int ViewManager::pageBefore(std::string_view position, int n, std::vector<ViewRow>& rows) {
  std::vector<sql::Cell> values;
  if (int rc = positionValues(position, values); rc != 0) {
    rows.clear();
    return rc;
  }
  return query(keysetBranches(values, false, nullsSortHigh()), true, n, rows);
}

// An order part whose value a range fixes (a key that starts with the company of a list
// limited to one company) orders nothing; a typed text is looked for in the part after it.
bool ViewManager::pinnedByRange(const OrderPart& part) const {
  if (!part.expr.params.empty()) return false;
  return std::any_of(ranges_.begin(), ranges_.end(),
                     [&](const Range& r) { return !r.between && r.column == part.expr.text; });
}

std::size_t ViewManager::searchedPart() const {
  std::size_t searched = 0;
  while (searched + 1 < order_.size() && pinnedByRange(order_[searched])) ++searched;
  return searched;
}

int ViewManager::seek(std::string_view text, int n, std::vector<ViewRow>& rows) {
  if (order_.empty()) completeOrder();
  if (text.empty()) return firstPage(n, rows);
  const OrderPart& first = order_[searchedPart()];
  SqlFragment s;
  if (first.isText) {
    // From the first row the text's prefix range holds (the last, reading a descending
    // order), so the rows that start with it come first.
    s = prefixBounds(first, std::string(text), first.descending ? PrefixBound::High : PrefixBound::Low);
  } else {
    sql::Param value = orderParam(first, std::string(text));
    s.append(first.expr);
    s.append(first.descending ? " <= ?" : " >= ?");
    s.params.push_back([value] { return value; });
  }
  if (int rc = query({std::move(s)}, false, n, rows); rc != 0 || static_cast<int>(rows.size()) >= n) return rc;
  // Where NULLs follow the values, the page goes on into them. They are read only when
  // the values left the page short: a union of both would make every seek sort the two
  // branches' rows, where one keyset statement reads the index range and stops.
  if (!first.nullable || nullsSortHigh() == first.descending) return 0;
  std::vector<ViewRow> nulls;
  const int missing = n - static_cast<int>(rows.size());
  if (int rc = query({SqlFragment{first.expr.text + " IS NULL", first.expr.params}}, false, missing, nulls); rc != 0) {
    rows.clear();
    return rc;
  }
  rows.insert(rows.end(), std::make_move_iterator(nulls.begin()), std::make_move_iterator(nulls.end()));
  return 0;
}

int ViewManager::fetch(std::string_view position) {
  std::vector<sql::Cell> values;
  if (int rc = positionValues(position, values); rc != 0) return rc;
  SqlFragment s;
  s.append("(");
  for (std::size_t i = 0; i < order_.size(); ++i) {
    if (i) s.append(" AND ");
    s.append(compare(i, values[i], "="));
  }
  s.append(")");
  std::vector<ViewRow> rows;
  if (int rc = query({s}, false, 1, rows); rc != 0) return rc;
  if (rows.empty()) return fail(kRecordNotFound, "Nie znaleziono rekordu w tabeli " + main_->name + ".");
  load(rows.front());
  return succeed();
}

int ViewManager::positionOfKey(const std::vector<sql::Param>& keyValues, std::string* position) {
  position->clear();
  const sql::KeyDef* key = uniqueKey(*main_);
  if (!key || key->components.size() != keyValues.size())
    return fail(kKeyUnknown, "Tabela " + main_->name + " nie ma klucza jednoznacznego o " +
                                 std::to_string(keyValues.size()) + " polach.");
  SqlFragment s;
  for (std::size_t i = 0; i < keyValues.size(); ++i) {
    if (i) s.append(" AND ");
    sql::Param v = keyValues[i];
    s.append("A." + key->components[i].column + " = ?");
    s.params.push_back([v] { return v; });
  }
  std::vector<ViewRow> rows;
  if (int rc = query({s}, false, 1, rows); rc != 0) return rc;
  if (!rows.empty()) *position = rows.front().position;
  return succeed();
}

bool ViewManager::positionOfBuffer(std::string* position) const {
  if (order_.empty()) return false;
  selectFrom();  // settles where each order value stands
  RecordBuffer& record = buffer(*main_);
  std::vector<sql::Cell> values;
  for (std::size_t i = 0; i < order_.size(); ++i) {
    const std::size_t at = i < keyColumns_.size() ? keyColumns_[i] : main_->columns.size();
    if (at >= main_->columns.size()) return false;
    const sql::ColumnDef& c = main_->columns[at];
    if (!isTextColumn(c) && !isIntegralColumn(c)) return false;
    values.emplace_back(record.field(at).text());
  }
  *position = encodePosition(values);
  return true;
}

bool ViewManager::rowOfBuffer(const ViewRow& asRead, ViewRow* row) const {
  if (sources_.size() != 1 || !filterText_.empty() || !sqlFilterText_.empty()) return false;
  for (const auto& b : bound_)
    if (b.binding.kind == NameBinding::Expression) return false;
  if (validateRecord() != 0) return false;
  ViewRow made;
  if (!positionOfBuffer(&made.position)) return false;
  RecordBuffer& record = buffer(*main_);
  made.values.reserve(main_->columns.size());
  for (std::size_t i = 0; i < main_->columns.size(); ++i) {
    sql::Param p = record.param(i);
    if (std::holds_alternative<std::monostate>(p))
      made.values.emplace_back(std::nullopt);
    else
      made.values.emplace_back(std::string(record.field(i).text()));
  }
  if (!locatorFilter_.text.empty()) {
    // The row passed the locator's limit as it was read; with the located field as it
    // was, it still does.
    bool same = false;
    for (std::size_t i = 0; i < main_->columns.size(); ++i) {
      if (sources_.front().alias + "." + main_->columns[i].name != locatorColumn_) continue;
      same = i < asRead.values.size() && asRead.values[i].value_or("") == made.values[i].value_or("");
    }
    if (!same) return false;
  }
  *row = std::move(made);
  return true;
}

void ViewManager::load(const ViewRow& row) const {
  std::size_t at = 0;
  for (const auto& src : sources_) {
    RecordBuffer& b = buffer(*src.table);
    for (std::size_t i = 0; i < src.table->columns.size(); ++i, ++at)
      b.load(i, at < row.values.size() ? row.values[at] : sql::Cell{});
  }
}

sql::Cell ViewManager::value(const ViewRow& row, std::string_view name) const {
  std::size_t at = 0;
  for (const auto& src : sources_) at += src.table->columns.size();
  for (const auto& b : bound_) {
    if (b.binding.kind != NameBinding::Expression) continue;
    if (sql::equalsIgnoreCase(b.name, name)) return at < row.values.size() ? row.values[at] : sql::Cell{};
    ++at;
  }
  NameBinding c = resolve(name);
  if (c.kind != NameBinding::Column) return std::nullopt;
  at = 0;
  for (const auto& src : sources_) {
    for (const auto& col : src.table->columns) {
      if (c.sql == src.alias + "." + col.name) return at < row.values.size() ? row.values[at] : sql::Cell{};
      ++at;
    }
  }
  return std::nullopt;
}

int ViewManager::next() {
  if (pendingIndex_ >= pending_.size()) {
    if (exhausted_) return fail(kEndOfView, "Koniec widoku tabeli " + main_->name + ".");
    int rc = lastPosition_.empty() ? firstPage(kReadAhead, pending_) : pageAfter(lastPosition_, kReadAhead, pending_);
    pendingIndex_ = 0;
    if (rc != 0) return rc;
    exhausted_ = pending_.size() < static_cast<std::size_t>(kReadAhead);
    if (pending_.empty()) return fail(kEndOfView, "Koniec widoku tabeli " + main_->name + ".");
  }
  const ViewRow& row = pending_[pendingIndex_++];
  lastPosition_ = row.position;
  load(row);
  return succeed();
}

int ViewManager::primeRecord() {
  FileManager& file = fileManager(*main_);
  if (int rc = file.primeRecord(); rc != 0) return fail(rc, file.errorText());
  RecordBuffer& b = buffer(*main_);
  for (const auto& r : ranges_) {
    if (r.between) continue;
    Field f = b.field(static_cast<std::size_t>(r.index));
    if (auto s = std::get_if<std::string>(&r.low)) f.set(*s);
    else if (auto i = std::get_if<long long>(&r.low)) f.set(static_cast<double>(*i));
    else if (auto d = std::get_if<double>(&r.low)) f.set(*d);
  }
  return succeed();
}

int ViewManager::validateRecord() const {
  RecordBuffer& b = buffer(*main_);
  auto compare = [](const Field& f, const sql::Param& p) {
    if (auto s = std::get_if<std::string>(&p)) {
      if (isTextColumn(*f.column())) return f.text().compare(*s);
      double v = std::strtod(s->c_str(), nullptr);
      return f.number() < v ? -1 : (f.number() > v ? 1 : 0);
    }
    double v = 0;
    if (auto i = std::get_if<long long>(&p)) v = static_cast<double>(*i);
    else if (auto d = std::get_if<double>(&p)) v = *d;
    return f.number() < v ? -1 : (f.number() > v ? 1 : 0);
  };
  for (const auto& r : ranges_) {
    Field f = b.field(static_cast<std::size_t>(r.index));
    if (compare(f, r.low) < 0 || compare(f, r.high) > 0) return kOutOfRange;
  }
  return 0;
}

}  // namespace slownik::data
