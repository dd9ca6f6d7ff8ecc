#include "framework/sql/tsql/token.h"

#include "framework/sql/text.h"

namespace slownik::sql::tsql {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isWordStart(char c) {
  auto u = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '@' || c == '#' || u >= 0x80;
}
bool isWordPart(char c) { return isWordStart(c) || isDigit(c) || c == '$'; }

// Runs to the closing quote; a doubled quote stays inside. Returns the index past the literal.
std::size_t skipQuoted(std::string_view s, std::size_t i, char close) {
  ++i;
  while (i < s.size()) {
    if (s[i] == close) {
      if (i + 1 < s.size() && s[i + 1] == close) {
        i += 2;
        continue;
      }
      return i + 1;
    }
    ++i;
  }
  return s.size();
}

}  // namespace

Tokens tokenize(std::string_view s) {
  Tokens out;
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t start = i;
    TokenKind kind;
    char c = s[i];
    if (isSpace(c)) {
      kind = TokenKind::Space;
      while (i < s.size() && isSpace(s[i])) ++i;
    } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
      kind = TokenKind::Comment;
      while (i < s.size() && s[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
      kind = TokenKind::Comment;
      std::size_t close = s.find("*/", i + 2);
      i = close == std::string_view::npos ? s.size() : close + 2;
    } else if (c == '\'') {
      kind = TokenKind::String;
      i = skipQuoted(s, i, '\'');
    } else if (c == '"') {
      kind = TokenKind::QuotedName;
      i = skipQuoted(s, i, '"');
    } else if (c == '[') {
      kind = TokenKind::QuotedName;
      i = skipQuoted(s, i, ']');
    } else if (isDigit(c) || (c == '.' && i + 1 < s.size() && isDigit(s[i + 1]))) {
      kind = TokenKind::Number;
      while (i < s.size() && (isDigit(s[i]) || s[i] == '.')) ++i;
      if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && isDigit(s[j])) {
          i = j;
          while (i < s.size() && isDigit(s[i])) ++i;
        }
      }
    } else if (isWordStart(c)) {
      kind = TokenKind::Word;
      while (i < s.size() && isWordPart(s[i])) ++i;
    } else {
      kind = TokenKind::Symbol;
      static constexpr std::string_view pairs[] = {"<>", "<=", ">=", "!=", "!<", "!>", "||", "::"};
      i += 1;
      for (auto p : pairs) {
        if (s.substr(start, 2) == p) {
          i = start + 2;
          break;
        }
      }
    }
    out.push_back({kind, std::string(s.substr(start, i - start))});
  }
  return out;
}

std::string join(const Tokens& tokens) { return textOf(tokens, 0, tokens.size()); }

std::string textOf(const Tokens& tokens, std::size_t begin, std::size_t end) {
  std::string out;
  for (std::size_t i = begin; i < end && i < tokens.size(); ++i) out += tokens[i].text;
  return out;
}

bool isSignificant(const Token& t) { return t.kind != TokenKind::Space && t.kind != TokenKind::Comment; }

bool isWord(const Token& t, std::string_view word) {
  return t.kind == TokenKind::Word && equalsIgnoreCase(t.text, word);
}

bool isSymbol(const Token& t, std::string_view symbol) { return t.kind == TokenKind::Symbol && t.text == symbol; }

std::size_t nextSignificant(const Tokens& tokens, std::size_t i, std::size_t end) {
  end = std::min(end, tokens.size());
  while (i < end && !isSignificant(tokens[i])) ++i;
  return i < end ? i : end;
}

std::size_t previousSignificant(const Tokens& tokens, std::size_t i, std::size_t begin) {
  while (i > begin) {
    --i;
    if (isSignificant(tokens[i])) return i;
  }
  return npos;
}

std::size_t closingParen(const Tokens& tokens, std::size_t open, std::size_t end) {
  end = std::min(end, tokens.size());
  int depth = 0;
  for (std::size_t i = open; i < end; ++i) {
    if (isSymbol(tokens[i], "(")) ++depth;
    if (isSymbol(tokens[i], ")") && --depth == 0) return i;
  }
  return end;
}

std::vector<std::pair<std::size_t, std::size_t>> splitOnCommas(const Tokens& tokens, std::size_t begin,
                                                               std::size_t end) {
  std::vector<std::pair<std::size_t, std::size_t>> pieces;
  std::size_t start = begin;
  int depth = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (isSymbol(tokens[i], "(")) ++depth;
    if (isSymbol(tokens[i], ")")) --depth;
    if (depth == 0 && isSymbol(tokens[i], ",")) {
      pieces.emplace_back(start, i);
      start = i + 1;
    }
  }
  pieces.emplace_back(start, end);
  return pieces;
}

}  // namespace slownik::sql::tsql
