#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "framework/sql/tsql/text_columns.h"
#include "framework/sql/tsql/token.h"

namespace slownik::sql::tsql {

//! What the expression reader needs to know about the statement around it.
struct StatementContext {
  const TextColumns& columns;
  std::vector<std::string> words;  //!< every plain word of the statement: the table candidates
};

//! One operand of '+'/'-': a factor, or factors joined by '*', '/', '%'.
struct Term {
  std::size_t first = 0;  //!< first token
  std::size_t last = 0;   //!< last token (inclusive)
  bool simple = true;     //!< a single factor without a sign: its type is its primary's type
};

//! Terms joined by '+', '-' or '||' at one parenthesis level, e.g. rtrim(a)+' '+b.
struct Chain {
  std::vector<Term> terms;
  std::vector<std::size_t> operators;  //!< token index of each operator between terms
  std::size_t end = 0;                 //!< index just past the last token of the chain
};

//! Index of the last token of the primary starting at i (literal, name, a.b, f(...),
//! (...), CASE ... END), or npos when no operand starts there.
std::size_t primaryEnd(const Tokens& tokens, std::size_t i, std::size_t end);
//! The chain starting at significant token i; no terms when no operand starts there.
Chain readChain(const Tokens& tokens, std::size_t i, std::size_t end);

//! Whether the expression [begin, end) yields text: a literal, a text column, a text
//! function, or a chain of '+' with a text operand (T-SQL then joins strings).
bool isTextExpression(const Tokens& tokens, std::size_t begin, std::size_t end, const StatementContext& context);
bool isTextChain(const Tokens& tokens, const Chain& chain, const StatementContext& context);

}  // namespace slownik::sql::tsql
