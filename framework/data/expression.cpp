#include "framework/data/expression.h"

#include <cctype>
#include <cstdlib>

#include "framework/sql/text.h"

namespace slownik::data {
namespace {

using sql::ColumnType;

bool isIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

struct Token {
  enum Kind { End, Name, Number, String, Symbol } kind = End;
  std::string text;
};

class Parser {
 public:
  Parser(std::string_view text, const NameResolver& resolve) : text_(text), resolve_(resolve) { advance(); }

  CompiledExpression condition() {
    CompiledExpression e = orExpr();
    finish(e);
    if (e.ok()) e = asCondition(std::move(e));
    return e;
  }
  CompiledExpression value() {
    CompiledExpression e = additive();
    finish(e);
    return e;
  }

 private:
  // ---- tokens ----
  void advance() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    token_ = {};
    if (pos_ >= text_.size()) return;
    char c = text_[pos_];
    if (c == '\'') {
      std::string s;
      ++pos_;
      for (;;) {
        if (pos_ >= text_.size()) {
          fail("niezamknięty tekst w apostrofach");
          return;
        }
        if (text_[pos_] == '\'') {
          if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
            s += '\'';
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        s += text_[pos_++];
      }
      token_ = {Token::String, s};
    } else if (std::isdigit(static_cast<unsigned char>(c)) ||
               (c == '.' && pos_ + 1 < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_ + 1])))) {
      std::size_t start = pos_;
      while (pos_ < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.')) ++pos_;
      token_ = {Token::Number, std::string(text_.substr(start, pos_ - start))};
    } else if (isIdentStart(c)) {
      std::size_t start = pos_;
      while (pos_ < text_.size() && isIdentChar(text_[pos_])) ++pos_;
      // A record prefix: "PRE:NAME".
      if (pos_ + 1 < text_.size() && text_[pos_] == ':' && isIdentStart(text_[pos_ + 1])) {
        ++pos_;
        while (pos_ < text_.size() && isIdentChar(text_[pos_])) ++pos_;
      }
      token_ = {Token::Name, std::string(text_.substr(start, pos_ - start))};
    } else {
      static const char* twoChar[] = {"<>", "<=", ">=", "~=", "!=", "=<", "=>"};
      for (const char* op : twoChar) {
        if (text_.substr(pos_, 2) == op) {
          token_ = {Token::Symbol, op};
          pos_ += 2;
          return;
        }
      }
      if (std::string_view("()=<>+-*/&~,").find(c) == std::string_view::npos) {
        fail(std::string("niedozwolony znak '") + c + "'");
        return;
      }
      token_ = {Token::Symbol, std::string(1, c)};
      ++pos_;
    }
  }
  bool isSymbol(std::string_view s) const { return token_.kind == Token::Symbol && token_.text == s; }
  bool isWord(std::string_view w) const { return token_.kind == Token::Name && sql::equalsIgnoreCase(token_.text, w); }
  void fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
  }
  void finish(CompiledExpression& e) {
    if (error_.empty() && token_.kind != Token::End) fail("nieoczekiwane '" + token_.text + "'");
    if (!error_.empty()) {
      e = {};
      e.error = "Błąd w wyrażeniu \"" + std::string(text_) + "\": " + error_ + ".";
    }
  }

  static CompiledExpression make(std::string text, bool isText, bool nullable = false) {
    CompiledExpression e;
    e.sql.text = std::move(text);
    e.isText = isText;
    e.type = isText ? ColumnType::Text : ColumnType::Real;
    e.nullable = nullable;
    return e;
  }
  // A value used where a condition is expected is true when it is not zero (or not empty).
  static CompiledExpression asCondition(CompiledExpression e) {
    if (e.isCondition) return e;
    SqlFragment s;
    s.append(e.sql);
    s.append(e.isText ? " <> ''" : " <> 0");
    return boolean(std::move(s));
  }
  static CompiledExpression boolean(SqlFragment sql) {
    CompiledExpression e;
    e.sql.append("(");
    e.sql.append(sql);
    e.sql.append(")");
    e.isText = false;
    e.isCondition = true;
    e.type = ColumnType::Byte;
    return e;
  }

  // ---- grammar ----
  CompiledExpression orExpr() { return chain("or", " OR ", &Parser::andExpr); }
  CompiledExpression andExpr() { return chain("and", " AND ", &Parser::notExpr); }
  // operand {word operand}: the conditions joined by the SQL operator.
  CompiledExpression chain(const char* word, const char* sqlOperator, CompiledExpression (Parser::*operand)()) {
    CompiledExpression left = (this->*operand)();
    while (error_.empty() && isWord(word)) {
      advance();
      CompiledExpression right = (this->*operand)();
      SqlFragment s = asCondition(std::move(left)).sql;
      s.append(sqlOperator);
      s.append(asCondition(std::move(right)).sql);
      left = boolean(std::move(s));
    }
    return left;
  }
  CompiledExpression notExpr() {
    if (isWord("not") || isSymbol("~")) {
      advance();
      SqlFragment s;
      s.append("NOT ");
      s.append(asCondition(notExpr()).sql);
      return boolean(std::move(s));
    }
    return comparison();
  }
  CompiledExpression comparison() {
    CompiledExpression left = additive();
    static const std::pair<const char*, const char*> ops[] = {{"=", "="},   {"<>", "<>"}, {"~=", "<>"}, {"!=", "<>"},
                                                              {"<=", "<="}, {"=<", "<="}, {">=", ">="}, {"=>", ">="},
                                                              {"<", "<"},   {">", ">"}};
    for (auto [symbol, op] : ops) {
      if (!isSymbol(symbol)) continue;
      advance();
      CompiledExpression right = additive();
      SqlFragment s = left.sql;
      s.append(std::string(" ") + op + " ");
      s.append(right.sql);
      return boolean(std::move(s));
    }
    return left;
  }
  CompiledExpression additive() {
    CompiledExpression left = term();
    while (error_.empty() && (isSymbol("+") || isSymbol("-") || isSymbol("&"))) {
      std::string op = token_.text == "&" ? " || " : " " + token_.text + " ";
      bool text = token_.text == "&";
      advance();
      left = arithmetic(left, op, term(), text);
    }
    return left;
  }
  CompiledExpression term() {
    CompiledExpression left = factor();
    while (error_.empty() && (isSymbol("*") || isSymbol("/"))) {
      std::string op = " " + token_.text + " ";
      advance();
      left = arithmetic(left, op, factor(), false);
    }
    return left;
  }
  // "(left op right)", NULL when either side may be.
  CompiledExpression arithmetic(const CompiledExpression& left, const std::string& op, const CompiledExpression& right,
                                bool text) {
    CompiledExpression e = make("(", text, left.nullable || right.nullable);
    e.sql.append(left.sql);
    e.sql.append(op);
    e.sql.append(right.sql);
    e.sql.append(")");
    return e;
  }
  CompiledExpression factor() {
    if (isSymbol("-")) {
      advance();
      CompiledExpression inner = factor();
      CompiledExpression e = make("(-", false, inner.nullable);
      e.sql.append(inner.sql);
      e.sql.append(")");
      return e;
    }
    return primary();
  }
  CompiledExpression primary() {
    if (!error_.empty()) return {};
    if (token_.kind == Token::Number) {
      std::string n = token_.text;
      advance();
      char* end = nullptr;
      std::strtod(n.c_str(), &end);
      if (*end != '\0') fail("niepoprawna liczba " + n);
      return make(n, false);  // digits only: safe as text
    }
    if (token_.kind == Token::String) {
      std::string s = token_.text;
      advance();
      CompiledExpression e = make("?", true);
      e.sql.params.push_back([s] { return sql::Param(s); });
      return e;
    }
    if (isSymbol("(")) {
      advance();
      CompiledExpression inner = orExpr();
      if (!isSymbol(")")) {
        fail("brak nawiasu zamykającego");
        return {};
      }
      advance();
      if (inner.isCondition) return inner;
      CompiledExpression e = inner;
      e.sql = {};
      e.sql.append("(");
      e.sql.append(inner.sql);
      e.sql.append(")");
      return e;
    }
    if (token_.kind == Token::Name) {
      std::string name = token_.text;
      advance();
      if (isSymbol("(")) return function(name);
      return reference(name);
    }
    fail(token_.kind == Token::End ? "niepełne wyrażenie" : "nieoczekiwane '" + token_.text + "'");
    return {};
  }
  CompiledExpression function(const std::string& name) {
    advance();  // '('
    std::vector<CompiledExpression> args;
    if (!isSymbol(")")) {
      for (;;) {
        args.push_back(additive());
        if (!isSymbol(",")) break;
        advance();
      }
    }
    if (!isSymbol(")")) {
      fail("brak nawiasu zamykającego po argumentach " + name);
      return {};
    }
    advance();
    std::string upper = sql::toUpperAscii(name);
    struct Fn {
      const char* name;
      const char* sql;
      std::size_t arity;
      bool text;
    };
    static const Fn functions[] = {{"UPPER", "UPPER", 1, true}, {"LOWER", "LOWER", 1, true},
                                   {"CLIP", "RTRIM", 1, true},  {"SUB", "SUBSTR", 3, true},
                                   {"ABS", "ABS", 1, false}};
    for (const Fn& fn : functions) {
      if (upper != fn.name) continue;
      if (args.size() != fn.arity) {
        fail("funkcja " + upper + " wymaga " + std::to_string(fn.arity) + " argumentów");
        return {};
      }
      bool nullable = false;
      for (const auto& a : args) nullable = nullable || a.nullable;
      CompiledExpression e = make(std::string(fn.sql) + "(", fn.text, nullable);
      for (std::size_t i = 0; i < args.size(); ++i) {
        if (i) e.sql.append(", ");
        e.sql.append(args[i].sql);
      }
      e.sql.append(")");
      return e;
    }
    fail("nieznana funkcja " + name);
    return {};
  }
  CompiledExpression reference(const std::string& name) {
    NameBinding b = resolve_ ? resolve_(name) : NameBinding{};
    switch (b.kind) {
      case NameBinding::Column:
      case NameBinding::Expression: {
        bool text = b.type == ColumnType::Text || b.type == ColumnType::Memo;
        CompiledExpression e = make(b.sql, text, b.nullable);
        e.type = b.type;
        return e;
      }
      case NameBinding::Value: {
        CompiledExpression e = make("?", b.type == ColumnType::Text || b.type == ColumnType::Memo, true);
        e.type = b.type;
        e.sql.params.push_back(b.value);
        return e;
      }
      case NameBinding::Unknown: break;
    }
    fail("nieznane pole " + name);
    return {};
  }

  std::string_view text_;
  const NameResolver& resolve_;
  std::size_t pos_ = 0;
  Token token_;
  std::string error_;
};

}  // namespace

std::vector<sql::Param> SqlFragment::values() const {
  std::vector<sql::Param> out;
  out.reserve(params.size());
  for (const auto& p : params) out.push_back(p ? p() : sql::Param{});
  return out;
}

CompiledExpression compileCondition(std::string_view expression, const NameResolver& resolve) {
  return Parser(expression, resolve).condition();
}

CompiledExpression compileValue(std::string_view expression, const NameResolver& resolve) {
  return Parser(expression, resolve).value();
}

std::string replacePrefixes(std::string_view text, const std::function<std::string(std::string_view)>& alias) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '\'') {  // copy a literal as it stands, doubled apostrophes included
      std::size_t end = i + 1;
      while (end < text.size()) {
        if (text[end] == '\'') {
          if (end + 1 < text.size() && text[end + 1] == '\'') {
            end += 2;
            continue;
          }
          break;
        }
        ++end;
      }
      std::size_t stop = std::min(end + 1, text.size());
      out.append(text.substr(i, stop - i));
      i = stop;
      continue;
    }
    bool wordStart = isIdentStart(c) && (i == 0 || !(isIdentChar(text[i - 1]) || text[i - 1] == '.'));
    if (wordStart) {
      std::size_t end = i;
      while (end < text.size() && isIdentChar(text[end])) ++end;
      std::string_view word = text.substr(i, end - i);
      if (end + 1 < text.size() && text[end] == ':' && isIdentStart(text[end + 1])) {
        std::string a = alias(word);
        if (!a.empty()) {
          out += a + ".";
          i = end + 1;
          continue;
        }
      }
      out.append(word);
      i = end;
      continue;
    }
    out += c;
    ++i;
  }
  return out;
}

}  // namespace slownik::data
