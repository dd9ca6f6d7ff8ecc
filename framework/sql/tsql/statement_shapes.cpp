#include <string_view>

#include "framework/sql/text.h"
#include "framework/sql/tsql/passes.h"

namespace slownik::sql::tsql {
namespace {

bool isTableHint(const Token& t) {
  static constexpr std::string_view hints[] = {"nolock", "readuncommitted", "readcommitted", "rowlock", "paglock",
                                               "tablock", "tablockx", "updlock", "holdlock", "xlock",
                                               "readpast", "nowait", "serializable", "repeatableread"};
  for (auto h : hints)
    if (isWord(t, h)) return true;
  return false;
}

Token word(std::string text) { return {TokenKind::Word, std::move(text)}; }
Token space() { return {TokenKind::Space, " "}; }

// Words that end a "table [AS] alias" item of a FROM list.
bool endsTableItem(const Token& t) {
  static constexpr std::string_view words[] = {"where", "inner", "left", "right", "full", "cross", "join",
                                               "on", "order", "group", "having", "union", "outer", "set"};
  for (auto w : words)
    if (isWord(t, w)) return true;
  return false;
}

struct TableItem {
  std::size_t table = npos;
  std::size_t alias = npos;  // npos without an alias
  bool plain = false;        // exactly "table [AS] [alias]", nothing else
};

TableItem readTableItem(const Tokens& t, std::size_t begin, std::size_t end) {
  TableItem item;
  std::size_t i = nextSignificant(t, begin, end);
  if (i >= end || t[i].kind != TokenKind::Word) return item;
  item.table = i;
  i = nextSignificant(t, i + 1, end);
  if (i < end && isWord(t[i], "as")) i = nextSignificant(t, i + 1, end);
  if (i < end && t[i].kind == TokenKind::Word && !endsTableItem(t[i])) {
    item.alias = i;
    i = nextSignificant(t, i + 1, end);
  }
  item.plain = i >= end;
  return item;
}

// End of the significant statement text: before trailing blanks, comments and ';'.
std::size_t statementEnd(const Tokens& t) {
  std::size_t end = t.size();
  while (end > 0 && (!isSignificant(t[end - 1]) || isSymbol(t[end - 1], ";"))) --end;
  return end;
}

// Index of the first top-level (not parenthesised) Word equal to word in [begin, end).
std::size_t findTopLevel(const Tokens& t, std::size_t begin, std::size_t end, std::string_view word) {
  for (std::size_t i = begin; i < end; ++i) {
    if (isSymbol(t[i], "(")) {
      i = closingParen(t, i, end);
      continue;
    }
    if (isWord(t[i], word)) return i;
  }
  return end;
}

// "a.x" → "t.x" for every reference through the alias: the alias is dropped, since SQLite
// does not resolve an alias of the target of DELETE on a view ("no such column: a.x").
void requalify(Tokens& t, std::size_t begin, const Token& alias, const Token& table) {
  for (std::size_t i = begin; i + 1 < t.size(); ++i) {
    if (t[i].kind == TokenKind::Word && equalsIgnoreCase(t[i].text, alias.text) && isSymbol(t[i + 1], ".") &&
        (i == 0 || !isSymbol(t[i - 1], ".")))
      t[i] = table;
  }
}

}  // namespace

Tokens dropTableHints(const Tokens& t) {
  Tokens out;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (isWord(t[i], "with")) {
      std::size_t open = nextSignificant(t, i + 1, t.size());
      if (open < t.size() && isSymbol(t[open], "(")) {
        std::size_t close = closingParen(t, open, t.size());
        bool hints = close < t.size() && close > open + 1;
        for (std::size_t j = open + 1; hints && j < close; ++j)
          hints = !isSignificant(t[j]) || isSymbol(t[j], ",") || isTableHint(t[j]);
        if (hints) {
          while (!out.empty() && out.back().kind == TokenKind::Space) out.pop_back();
          i = close;
          continue;
        }
      }
    }
    out.push_back(t[i]);
  }
  return out;
}

Tokens dropOwnerPrefix(const Tokens& t) {
  Tokens out;
  for (std::size_t i = 0; i < t.size(); ++i) {
    bool owner = (isWord(t[i], "dbo") || (t[i].kind == TokenKind::QuotedName && equalsIgnoreCase(t[i].text, "[dbo]"))) &&
                 i + 1 < t.size() && isSymbol(t[i + 1], ".");
    bool qualified = !out.empty() && isSymbol(out.back(), ".");  // "x.dbo.y": leave as written
    if (owner && !qualified) {
      ++i;
      continue;
    }
    out.push_back(t[i]);
  }
  return out;
}

Tokens topToLimit(const Tokens& t) {
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (!isWord(t[i], "select")) continue;
    std::size_t top = nextSignificant(t, i + 1, t.size());
    if (top < t.size() && (isWord(t[top], "distinct") || isWord(t[top], "all"))) top = nextSignificant(t, top + 1, t.size());
    if (top >= t.size() || !isWord(t[top], "top")) continue;
    std::size_t count = nextSignificant(t, top + 1, t.size());
    std::size_t last = count;
    if (count < t.size() && isSymbol(t[count], "(")) {
      count = nextSignificant(t, count + 1, t.size());
      last = nextSignificant(t, count + 1, t.size());
      if (last >= t.size() || !isSymbol(t[last], ")")) continue;
    }
    if (count >= t.size() || t[count].kind != TokenKind::Number) continue;
    std::size_t after = nextSignificant(t, last + 1, t.size());
    if (after < t.size() && (isWord(t[after], "percent") || isWord(t[after], "with"))) continue;  // no equivalent

    // The select's level ends at the ')' that closes its enclosing group, or at the statement's end.
    std::size_t levelEnd = statementEnd(t);
    int depth = 0;
    for (std::size_t j = i; j < t.size(); ++j) {
      if (isSymbol(t[j], "(")) ++depth;
      if (isSymbol(t[j], ")") && --depth < 0) {
        levelEnd = j;
        break;
      }
    }
    while (levelEnd > i && !isSignificant(t[levelEnd - 1])) --levelEnd;
    Tokens out(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(top));
    std::size_t resume = last + 1;
    while (resume < t.size() && t[resume].kind == TokenKind::Space) ++resume;
    out.insert(out.end(), t.begin() + static_cast<std::ptrdiff_t>(resume), t.begin() + static_cast<std::ptrdiff_t>(levelEnd));
    out.insert(out.end(), {space(), word("LIMIT"), space(), t[count]});
    out.insert(out.end(), t.begin() + static_cast<std::ptrdiff_t>(levelEnd), t.end());
    return topToLimit(out);  // further selects (subqueries) may have their own top
  }
  return t;
}

Tokens deleteWithAlias(const Tokens& t) {
  std::size_t end = statementEnd(t);
  std::size_t del = nextSignificant(t, 0, end);
  if (del >= end || !isWord(t[del], "delete")) return t;
  std::size_t target = nextSignificant(t, del + 1, end);
  bool hasFrom = target < end && isWord(t[target], "from");
  if (hasFrom) target = nextSignificant(t, target + 1, end);
  if (target >= end || t[target].kind != TokenKind::Word) return t;
  std::size_t next = nextSignificant(t, target + 1, end);

  if (next < end && isWord(t[next], "from")) {
    // "delete t from t a where ...": one table, named as the target or aliased as it.
    std::size_t where = findTopLevel(t, next + 1, end, "where");
    TableItem item = readTableItem(t, next + 1, where);
    if (!item.plain || item.table == npos) return t;
    bool same = equalsIgnoreCase(t[item.table].text, t[target].text) ||
                (item.alias != npos && equalsIgnoreCase(t[item.alias].text, t[target].text));
    if (!same) return t;
    Tokens out(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(del + 1));
    out.insert(out.end(), {space(), word("from"), space(), t[item.table]});
    if (where < end) out.push_back(space());
    std::size_t condition = out.size();
    out.insert(out.end(), t.begin() + static_cast<std::ptrdiff_t>(where), t.end());
    if (item.alias != npos) requalify(out, condition, t[item.alias], t[item.table]);
    return out;
  }
  if (hasFrom) return t;
  // "delete t where ...": FROM is optional in T-SQL only.
  Tokens out(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(target));
  out.insert(out.end(), {word("from"), space()});
  out.insert(out.end(), t.begin() + static_cast<std::ptrdiff_t>(target), t.end());
  return out;
}

Tokens updateFromSelf(const Tokens& t) {
  std::size_t end = statementEnd(t);
  std::size_t upd = nextSignificant(t, 0, end);
  if (upd >= end || !isWord(t[upd], "update")) return t;
  std::size_t target = nextSignificant(t, upd + 1, end);
  if (target >= end || t[target].kind != TokenKind::Word) return t;
  std::size_t set = nextSignificant(t, target + 1, end);
  if (set >= end || !isWord(t[set], "set")) return t;
  std::size_t from = findTopLevel(t, set + 1, end, "from");
  if (from >= end) return t;
  std::size_t where = findTopLevel(t, from + 1, end, "where");

  // Find the FROM item that is the target itself; the others stay in a FROM of their own.
  // In T-SQL "update t ... from t r" updates t's rows through r; on the other backends the
  // same text would join t to a second copy of itself and update every row.
  auto items = splitOnCommas(t, from + 1, where);
  std::size_t self = npos;
  TableItem selfItem;
  for (std::size_t k = 0; k < items.size(); ++k) {
    TableItem item = readTableItem(t, items[k].first, items[k].second);
    if (!item.plain) return t;  // joins: leave as written
    if (equalsIgnoreCase(t[item.table].text, t[target].text) ||
        (item.alias != npos && equalsIgnoreCase(t[item.alias].text, t[target].text))) {
      self = k;
      selfItem = item;
    }
  }
  if (self == npos) return t;

  Tokens out(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(upd + 1));
  out.insert(out.end(), {space(), t[selfItem.table]});
  out.insert(out.end(), {space(), t[set]});
  std::size_t assignments = out.size();
  // SET targets may not be qualified on the other backends: "r.x = 1" → "x = 1".
  for (auto [b, e] : splitOnCommas(t, set + 1, from)) {
    if (b != set + 1) out.push_back({TokenKind::Symbol, ","});
    std::size_t first = nextSignificant(t, b, e);
    std::size_t start = b;
    if (first + 2 < e && t[first].kind == TokenKind::Word && isSymbol(t[first + 1], ".")) {
      bool ours = equalsIgnoreCase(t[first].text, t[selfItem.table].text) ||
                  (selfItem.alias != npos && equalsIgnoreCase(t[first].text, t[selfItem.alias].text)) ||
                  equalsIgnoreCase(t[first].text, t[target].text);
      if (ours) {
        out.insert(out.end(), t.begin() + static_cast<std::ptrdiff_t>(b), t.begin() + static_cast<std::ptrdiff_t>(first));
        start = first + 2;
      }
    }
    out.insert(out.end(), t.begin() + static_cast<std::ptrdiff_t>(start), t.begin() + static_cast<std::ptrdiff_t>(e));
  }
  bool others = false;
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (k == self) continue;
    out.push_back(others ? Token{TokenKind::Symbol, ","} : word("FROM"));
    out.insert(out.end(), t.begin() + static_cast<std::ptrdiff_t>(items[k].first),
               t.begin() + static_cast<std::ptrdiff_t>(items[k].second));
    others = true;
  }
  if (!others) {
    while (!out.empty() && out.back().kind == TokenKind::Space) out.pop_back();
    if (where < end) out.push_back(space());
  } else if (where < end && out.back().kind != TokenKind::Space) {
    out.push_back(space());
  }
  out.insert(out.end(), t.begin() + static_cast<std::ptrdiff_t>(where), t.end());
  if (selfItem.alias != npos) requalify(out, assignments, t[selfItem.alias], t[selfItem.table]);
  return out;
}

}  // namespace slownik::sql::tsql
