#include "framework/sql/tsql/expression.h"

#include <string_view>

#include "framework/sql/text.h"

namespace slownik::sql::tsql {
namespace {

// Words that never start an operand, even before '(' ("in(select ...)", "values(...)").
bool isKeyword(const Token& t) {
  static constexpr std::string_view keywords[] = {
      "select", "from",  "where",  "and",    "or",     "not",      "in",     "exists", "values",
      "on",     "as",    "join",   "inner",  "outer",  "cross",    "full",   "is",     "like",
      "between", "set",  "into",   "update", "delete", "insert",   "order",  "group",  "by",
      "having", "union", "all",    "distinct", "top",  "with",     "when",   "then",   "else",
      "end",    "asc",   "desc",   "escape", "using",  "returning", "limit", "offset", "call"};
  if (t.kind != TokenKind::Word) return false;
  for (auto k : keywords)
    if (equalsIgnoreCase(t.text, k)) return true;
  return false;
}

bool isOneOf(std::string_view word, std::initializer_list<std::string_view> names) {
  for (auto n : names)
    if (equalsIgnoreCase(word, n)) return true;
  return false;
}

bool isTextType(std::string_view type) {
  return isOneOf(type, {"char", "varchar", "nchar", "nvarchar", "text", "ntext", "sysname"});
}

// A factor: an optional sign and a primary. Returns its last token or npos.
std::size_t factorEnd(const Tokens& t, std::size_t i, std::size_t end, bool* simple) {
  if (i >= end) return npos;
  if (isSymbol(t[i], "-") || isSymbol(t[i], "+")) {
    *simple = false;
    return factorEnd(t, nextSignificant(t, i + 1, end), end, simple);
  }
  return primaryEnd(t, i, end);
}

bool readTerm(const Tokens& t, std::size_t i, std::size_t end, Term* term) {
  term->first = i;
  term->simple = true;
  std::size_t last = factorEnd(t, i, end, &term->simple);
  if (last == npos) return false;
  while (true) {
    std::size_t op = nextSignificant(t, last + 1, end);
    if (op >= end || !(isSymbol(t[op], "*") || isSymbol(t[op], "/") || isSymbol(t[op], "%"))) break;
    bool ignored = true;
    std::size_t next = factorEnd(t, nextSignificant(t, op + 1, end), end, &ignored);
    if (next == npos) break;
    last = next;
    term->simple = false;
  }
  term->last = last;
  return true;
}

// The name of a function call whose '(' is at open: the word just before it.
std::string_view functionName(const Tokens& t, std::size_t open) {
  std::size_t name = previousSignificant(t, open);
  return name == npos ? std::string_view() : std::string_view(t[name].text);
}

bool isTextPrimary(const Tokens& t, std::size_t first, std::size_t last, const StatementContext& context) {
  const Token& head = t[first];
  switch (head.kind) {
    case TokenKind::String: return true;
    case TokenKind::Number: return false;
    case TokenKind::QuotedName: return context.columns.isText(context.words, head.text.substr(1, head.text.size() - 2));
    case TokenKind::Symbol: return isSymbol(head, "(") && isTextExpression(t, first + 1, last, context);
    default: break;
  }
  if (isWord(head, "case") || isWord(head, "null")) return false;
  if (isSymbol(t[last], ")")) {
    // A function call: find its '(' (the first one after the name).
    std::size_t open = first;
    while (open < last && !isSymbol(t[open], "(")) ++open;
    std::string_view name = functionName(t, open);
    if (isOneOf(name, {"rtrim", "ltrim", "trim", "upper", "lower", "substring", "left", "right", "replace", "space",
                       "char", "nchar", "str", "reverse", "stuff", "replicate", "concat", "quotename", "format"}))
      return true;
    if (isOneOf(name, {"isnull", "coalesce", "nullif"})) {
      for (auto [b, e] : splitOnCommas(t, open + 1, last))
        if (isTextExpression(t, b, e, context)) return true;
      return false;
    }
    if (isOneOf(name, {"cast"})) {
      for (std::size_t i = open + 1; i < last; ++i) {
        if (isSymbol(t[i], "(")) i = closingParen(t, i, last);
        if (i < last && isWord(t[i], "as")) {
          std::size_t type = nextSignificant(t, i + 1, last);
          return type < last && isTextType(t[type].text);
        }
      }
      return false;
    }
    if (isOneOf(name, {"convert"})) {
      std::size_t type = nextSignificant(t, open + 1, last);
      return type < last && isTextType(t[type].text);
    }
    return false;
  }
  // A column, perhaps qualified ("a.nazwa"): the last name decides.
  const Token& column = t[last];
  if (column.kind == TokenKind::QuotedName)
    return context.columns.isText(context.words, column.text.substr(1, column.text.size() - 2));
  return column.kind == TokenKind::Word && context.columns.isText(context.words, column.text);
}

}  // namespace

std::size_t primaryEnd(const Tokens& t, std::size_t i, std::size_t end) {
  if (i >= end) return npos;
  const Token& head = t[i];
  switch (head.kind) {
    case TokenKind::String:
    case TokenKind::Number: return i;
    case TokenKind::Symbol: {
      if (!isSymbol(head, "(")) return npos;
      std::size_t close = closingParen(t, i, end);
      return close < end ? close : npos;
    }
    case TokenKind::Word:
      if (isKeyword(head)) return npos;
      if (isWord(head, "case")) {
        int depth = 0;
        for (std::size_t j = i; j < end; ++j) {
          if (isWord(t[j], "case")) ++depth;
          if (isWord(t[j], "end") && --depth == 0) return j;
        }
        return npos;
      }
      if (isWord(head, "null")) return i;
      break;
    case TokenKind::QuotedName: break;
    default: return npos;
  }
  // Name, qualified name (a.b, a.*), or function call f(...).
  std::size_t last = i;
  while (last + 2 < end && isSymbol(t[last + 1], ".") &&
         (t[last + 2].kind == TokenKind::Word || t[last + 2].kind == TokenKind::QuotedName ||
          isSymbol(t[last + 2], "*")))
    last += 2;
  std::size_t open = nextSignificant(t, last + 1, end);
  if (open < end && isSymbol(t[open], "(") && t[last].kind == TokenKind::Word) {
    std::size_t close = closingParen(t, open, end);
    return close < end ? close : npos;
  }
  return last;
}

Chain readChain(const Tokens& t, std::size_t i, std::size_t end) {
  Chain chain;
  Term term;
  if (!readTerm(t, i, end, &term)) {
    chain.end = i;
    return chain;
  }
  chain.terms.push_back(term);
  while (true) {
    std::size_t op = nextSignificant(t, term.last + 1, end);
    if (op >= end || !(isSymbol(t[op], "+") || isSymbol(t[op], "-") || isSymbol(t[op], "||"))) break;
    Term next;
    if (!readTerm(t, nextSignificant(t, op + 1, end), end, &next)) break;
    chain.operators.push_back(op);
    chain.terms.push_back(next);
    term = next;
  }
  chain.end = term.last + 1;
  return chain;
}

bool isTextChain(const Tokens& t, const Chain& chain, const StatementContext& context) {
  bool plus = false;
  for (std::size_t op : chain.operators) {
    if (isSymbol(t[op], "||")) return true;
    plus = plus || isSymbol(t[op], "+");
  }
  if (!plus && chain.terms.size() != 1) return false;
  for (const Term& term : chain.terms)
    if (term.simple && isTextPrimary(t, term.first, term.last, context)) return true;
  return false;
}

bool isTextExpression(const Tokens& t, std::size_t begin, std::size_t end, const StatementContext& context) {
  std::size_t i = nextSignificant(t, begin, end);
  if (i >= end) return false;
  Chain chain = readChain(t, i, end);
  if (chain.terms.empty() || nextSignificant(t, chain.end, end) < end) return false;
  return isTextChain(t, chain, context);
}

}  // namespace slownik::sql::tsql
