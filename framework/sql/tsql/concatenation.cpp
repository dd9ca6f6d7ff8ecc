#include <vector>

#include "framework/sql/tsql/passes.h"

namespace slownik::sql::tsql {
namespace {

// Marks per token: '+' that joins strings, and terms to wrap in parentheses, because
// '||' binds tighter than '*' in SQLite ("'a'||x*2" would multiply the joined text).
struct Edits {
  std::vector<bool> join, open, close;
  explicit Edits(std::size_t n) : join(n), open(n), close(n) {}
};

void rewriteLevel(const Tokens& t, std::size_t begin, std::size_t end, const StatementContext& context, Edits& edits);

void rewriteGroupsWithin(const Tokens& t, std::size_t begin, std::size_t end, const StatementContext& context,
                         Edits& edits) {
  for (std::size_t i = begin; i < end; ++i) {
    if (!isSymbol(t[i], "(")) continue;
    std::size_t close = closingParen(t, i, end);
    rewriteLevel(t, i + 1, close, context, edits);
    i = close;
  }
}

void rewriteLevel(const Tokens& t, std::size_t begin, std::size_t end, const StatementContext& context, Edits& edits) {
  std::size_t i = nextSignificant(t, begin, end);
  while (i < end) {
    Chain chain = readChain(t, i, end);
    if (chain.terms.empty()) {
      if (isSymbol(t[i], "(")) {
        std::size_t close = closingParen(t, i, end);
        rewriteLevel(t, i + 1, close, context, edits);
        i = close;
      }
      i = nextSignificant(t, i + 1, end);
      continue;
    }
    if (chain.operators.size() > 0 && isTextChain(t, chain, context)) {
      for (std::size_t op : chain.operators)
        if (isSymbol(t[op], "+")) edits.join[op] = true;
      for (const Term& term : chain.terms) {
        if (term.simple) continue;
        edits.open[term.first] = true;
        edits.close[term.last] = true;
      }
    }
    rewriteGroupsWithin(t, i, chain.end, context, edits);
    i = nextSignificant(t, chain.end, end);
  }
}

}  // namespace

Tokens concatenation(const Tokens& tokens, const StatementContext& context) {
  Edits edits(tokens.size());
  rewriteLevel(tokens, 0, tokens.size(), context, edits);
  Tokens out;
  out.reserve(tokens.size());
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (edits.open[i]) out.push_back({TokenKind::Symbol, "("});
    out.push_back(edits.join[i] ? Token{TokenKind::Symbol, "||"} : tokens[i]);
    if (edits.close[i]) out.push_back({TokenKind::Symbol, ")"});
  }
  return out;
}

}  // namespace slownik::sql::tsql
