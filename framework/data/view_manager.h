#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/data/expression.h"
#include "framework/data/file_errors.h"
#include "framework/data/record_buffer.h"

namespace slownik::data {

//! One row of a view page: its position (the order key's values, see position.h)
//! and its values: the main table's columns, then each joined table's, then the
//! computed columns, in the order they were added.
struct ViewRow {
  std::string position;
  std::vector<sql::Cell> values;
};

//! The rows a list shows: a main table (alias A), optionally joined with related
//! tables (B, C, …) and computed columns bound under a name, limited by ranges, a
//! filter expression and an SQL filter, in an order completed by the main table's
//! unique key. Pages are read by keyset ("rows after this position") so a page costs
//! the same anywhere in a large table, and no page reads the whole table.
//! Not thread-safe: each thread has its own views (thread_views.h).
class ViewManager {
 public:
  explicit ViewManager(const sql::TableDef& main);
  ~ViewManager();
  ViewManager(const ViewManager&) = delete;
  ViewManager& operator=(const ViewManager&) = delete;

  const sql::TableDef& table() const { return *main_; }

  // ---- shape ----
  //! Joins a related table (left join: main rows without a match stay, with the
  //! table's buffer cleared). The condition is a filter expression over prefixed
  //! fields: "SMSSZ:ID_SMS_SZABLONU = VSSD:ID_SZABLONU_SMS". 0 or an error code.
  int addJoin(const sql::TableDef& table, std::string_view condition);
  //! A computed column: backend SQL over the view's columns (prefixed names are
  //! allowed, as in an SQL filter), usable by name in filters and orders, read back
  //! per row with value().
  void bindExpression(std::string name, std::string sqlExpression, sql::ColumnType type = sql::ColumnType::Text);
  //! A variable usable by name in filters; read again at every page.
  void bindValue(std::string name, ParamSource value, sql::ColumnType type = sql::ColumnType::Text);

  // ---- limits ----
  //! The field equal to the value, or between low and high (inclusive).
  int addRange(std::string_view field, sql::Param value);
  int addRange(std::string_view field, sql::Param low, sql::Param high);
  void clearRanges();
  //! The view's own filter as a framework expression; empty clears it. An expression
  //! that does not parse leaves the filter unchanged and returns an error code.
  int setFilter(std::string_view expression);
  //! An SQL condition in the module's SQL. A leading "+" joins it by AND to the view's
  //! own filter; without it, it takes the own filter's place. "" (or "+" alone) clears it.
  void setSqlFilter(std::string_view condition);
  //! The filter locator's limit, joined by AND to every other: the rows whose field starts
  //! with `text` (with `anywhere`: holds it), letter case aside; "" lifts it. The text
  //! goes to the database as a bound parameter. Where the text field leads the order, the
  //! limit is a range on the order's own expression in the Polish collation, which the
  //! order's index answers at any size of the table; otherwise it is a LIKE. 0, or an
  //! error code for an unknown field.
  int setLocatorFilter(std::string_view field, std::string_view text, bool anywhere);
  //! A step locator's limit, joined by AND to every other until it is set again: the rows
  //! whose field starts with one of `prefixes` (a number by the digits it is written with).
  //! Letter case counts on one backend and not on the other, so a caller that wants either
  //! case passes both. The prefixes go as bound parameters; none lifts the limit.
  int setStartsWithAny(std::string_view field, const std::vector<std::string>& prefixes);
  //! Whether the last locator filter set is a range on the order's index (diagnostics, tests).
  bool isLocatorRange() const { return locatorRange_; }
  const std::string& filter() const { return filterText_; }
  const std::string& sqlFilter() const { return sqlFilterText_; }

  // ---- order ----
  //! Orders by a key of the main table ("BAN:KEY_NAZWA").
  int setOrderKey(std::string_view keyName);
  //! Orders by an order text: "+NAZWA,-UPPER(KOD),+ID", "PRA:NAZWISKO,-PRA:PESEL"
  //! (a component without a sign ascends). The unique key completes it.
  int setOrder(std::string_view orderText);
  //! The order in force as an order text, completed by the unique key.
  std::string orderText() const;

  // ---- use ----
  int open();
  void close();
  bool isOpen() const { return open_; }

  //! Pages of at most n rows, in order. 0 or an error code; `rows` is replaced.
  int firstPage(int n, std::vector<ViewRow>& rows);
  int lastPage(int n, std::vector<ViewRow>& rows);
  int pageAfter(std::string_view position, int n, std::vector<ViewRow>& rows);
  int pageBefore(std::string_view position, int n, std::vector<ViewRow>& rows);
  //! Up to `before` rows just before the position and up to `after` rows from it on (the
  //! row at it first, when it is still there), both in order, read in one statement.
  int pageAround(std::string_view position, int before, int after, std::vector<ViewRow>& earlier,
                 std::vector<ViewRow>& later);
  //! Rows from the first whose leading order value is at least `text` in the order (a
  //! locator's typed text, letter case aside): for text, the first row of the range
  //! that starts with it, or the row after where it would stand.
  int seek(std::string_view text, int n, std::vector<ViewRow>& rows);
  //! Reads the row at the position into the record buffers.
  int fetch(std::string_view position);
  //! The position of the row whose unique key (of the main table) holds these values, in
  //! key order, if the view's limits let it in; "" when they don't. The values go as bound
  //! parameters. 0 or an error code.
  int positionOfKey(const std::vector<sql::Param>& keyValues, std::string* position);
  //! The position of the row the main table's buffer holds, taken from the buffer itself
  //! without a statement: right after the buffer was written, the row holds just its
  //! values. Only where every order value is a text or whole-number column of the main
  //! table (a decimal or joined value may read back otherwise); false elsewhere. Says
  //! nothing of whether the view's limits let the row in.
  bool positionOfBuffer(std::string* position) const;
  //! The page row the main table's buffer makes, without a statement, for a view of the
  //! main table alone (no joined tables, no computed columns) and without a filter that
  //! the written values might no longer pass: right after the buffer was written the
  //! row holds just its values. False where a read is needed to know the row.
  //! A locator's limit is kept to where the located field is as `asRead` had it.
  bool rowOfBuffer(const ViewRow& asRead, ViewRow* row) const;
  //! Puts a page row's values into the record buffers of the main and joined tables.
  void load(const ViewRow& row) const;
  //! A row's value by name: a computed column's name or a prefixed field.
  sql::Cell value(const ViewRow& row, std::string_view name) const;
  //! Whether a name (a list field's name) is a column of the view, for header sorting.
  bool hasField(std::string_view name) const;
  //! Whether the name is a field of the view that holds text (not a number or a date).
  bool isTextField(std::string_view name) const;

  //! Reads the rows one by one into the record buffers: 0 per row, kEndOfView at the end.
  //! open() (or reset()) starts again from the first row.
  int next();
  void reset();

  //! Primes the main table's buffer for an insert: a new record with the equal ranges' values.
  int primeRecord();
  //! 0 when the main buffer lies within the ranges, else kOutOfRange.
  int validateRecord() const;

  int errorCode() const { return errorCode_; }
  const std::string& errorText() const { return errorText_; }
  //! The last statement sent to the database (diagnostics).
  const std::string& lastSql() const { return lastSql_; }

 private:
  struct Source {
    const sql::TableDef* table;
    std::string alias;
    SqlFragment on;  // join condition; empty for the main table
  };
  struct Bound {
    std::string name;
    NameBinding binding;
  };
  struct Range {
    std::string column;  // "A.NAME"
    int index;           // main column index
    sql::Param low, high;
    bool between;
  };
  struct OrderPart {
    SqlFragment expr;  // as in ORDER BY and comparisons: the key's own expression, so an index serves it
    std::string text;  // as written in an order text: "+UPPER(NAZWA)"
    bool descending = false;
    bool nullable = true;
    bool isText = true;
    bool integral = false;
    bool upper = false;  // compares upper-cased text
  };

  NameBinding resolve(std::string_view name) const;
  std::string aliasOfPrefix(std::string_view prefix) const;
  int addOrderPart(std::string_view component, bool descending);
  void completeOrder();
  SqlFragment whereClause() const;
  const SqlFragment& selectFrom() const;
  const SqlFragment& orderBy(bool reversed) const;
  std::vector<SqlFragment> keysetBranches(const std::vector<sql::Cell>& values, bool forward, bool nullsHigh) const;
  SqlFragment compare(std::size_t part, const sql::Cell& value, const char* op) const;
  enum class PrefixBound { Low, High, Both };
  SqlFragment prefixBounds(const OrderPart& part, const std::string& typed, PrefixBound side = PrefixBound::Both) const;
  sql::Param orderParam(const OrderPart& part, const sql::Cell& value) const;
  int positionValues(std::string_view position, std::vector<sql::Cell>& values);
  bool pinnedByRange(const OrderPart& part) const;
  std::size_t searchedPart() const;
  int query(const std::vector<SqlFragment>& branches, bool reversed, int n, std::vector<ViewRow>& rows);
  SqlFragment statementFor(const SqlFragment& where, const std::vector<SqlFragment>& branches, bool reversed, int n) const;
  std::string outerOrder(bool reversed) const;
  int run(SqlFragment statement, sql::Result* r);
  ViewRow rowOf(std::vector<sql::Cell>&& row, std::size_t skip) const;
  SqlFragment branchSelect(const SqlFragment& where, const SqlFragment& branch, bool reversed, int n) const;
  int fail(int code, std::string text);
  int succeed();
  void shapeChanged();

  const sql::TableDef* main_;
  std::vector<Source> sources_;
  std::vector<Bound> bound_;
  std::vector<Range> ranges_;
  std::string filterText_;
  SqlFragment filter_;
  std::string sqlFilterText_;
  std::string sqlFilterSql_;  // translated, prefixes replaced
  bool sqlFilterJoins_ = false;
  SqlFragment locatorFilter_;
  SqlFragment startsWith_;  // setStartsWithAny()
  std::string locatorColumn_;  // the main column the locator limits ("A.NAZWA"), if it is one
  bool locatorRange_ = false;
  std::vector<OrderPart> order_;
  std::size_t userOrderParts_ = 0;
  bool open_ = false;
  std::vector<ViewRow> pending_;  // next(): rows read ahead
  std::size_t pendingIndex_ = 0;
  std::string lastPosition_;
  bool exhausted_ = false;
  int errorCode_ = 0;
  std::string errorText_;
  std::string lastSql_;
  // The SELECT … FROM … and ORDER BY texts change only with the view's shape and order;
  // building them once keeps a page's cost close to the bare query's.
  mutable std::optional<SqlFragment> selectCache_;
  mutable std::optional<SqlFragment> orderCache_[2];
  // Settled with the SELECT text: where each order part's value stands in a row read, by
  // index and by name, and how many columns were added for the order alone.
  mutable std::vector<std::size_t> keyColumns_;
  mutable std::vector<std::string> keyNames_;
  mutable std::size_t extraKeyColumns_ = 0;
};

}  // namespace slownik::data
