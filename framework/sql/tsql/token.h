#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace slownik::sql::tsql {

enum class TokenKind {
  Space,       //!< blanks, tabs, line ends
  Comment,     //!< "-- ..." to the end of the line, or "/* ... */"
  Word,        //!< keyword or name: letters, digits, '_', '@', '#', '$' and any non-ASCII byte
  Number,      //!< 12, 3.5, 1e3
  String,      //!< 'text' with '' inside; kept with its apostrophes, never changed
  QuotedName,  //!< "name" or [name]
  Symbol,      //!< one operator or punctuation: ( ) , . + - * / % = < > <> <= >= != || ; ...
};

struct Token {
  TokenKind kind;
  std::string text;
};

using Tokens = std::vector<Token>;

//! Splits statement text into tokens; joining their texts gives the input back byte for byte.
//! An unterminated literal or comment runs to the end of the text.
Tokens tokenize(std::string_view sql);
std::string join(const Tokens& tokens);

//! Navigation over a token list. "Significant" tokens are those that are not blanks or comments.
bool isSignificant(const Token& t);
bool isWord(const Token& t, std::string_view word);  //!< a Word equal to word, ignoring case
bool isSymbol(const Token& t, std::string_view symbol);
//! Index of the next significant token at or after i, or end when there is none before end.
std::size_t nextSignificant(const Tokens& tokens, std::size_t i, std::size_t end);
//! Index of the last significant token before i, or npos.
std::size_t previousSignificant(const Tokens& tokens, std::size_t i, std::size_t begin = 0);
//! Index of the ')' that closes the '(' at open; end when unbalanced.
std::size_t closingParen(const Tokens& tokens, std::size_t open, std::size_t end);
//! Top-level pieces of [begin, end) separated by ',' (each piece a [first, last) range).
std::vector<std::pair<std::size_t, std::size_t>> splitOnCommas(const Tokens& tokens, std::size_t begin,
                                                               std::size_t end);
std::string textOf(const Tokens& tokens, std::size_t begin, std::size_t end);

inline constexpr std::size_t npos = static_cast<std::size_t>(-1);

}  // namespace slownik::sql::tsql
