#include "framework/sql/text.h"
#include "framework/sql/tsql/passes.h"

namespace slownik::sql::tsql {
namespace {

bool isDateTimeType(const Token& t) {
  return isWord(t, "datetime") || isWord(t, "smalldatetime") || isWord(t, "datetime2");
}

class Emitter {
 public:
  Emitter(const Tokens& t, const BackendSpelling& spelling, const StatementContext& context)
      : t_(t), spelling_(spelling), context_(context) {}

  std::string emit(std::size_t begin, std::size_t end) const {
    std::string out;
    for (std::size_t i = begin; i < end; ++i) {
      std::size_t open = callOpen(i, end);
      if (open == npos) {
        out += t_[i].text;
        continue;
      }
      std::size_t close = closingParen(t_, open, end);
      if (close >= end) {  // unbalanced: leave the rest for the backend to report
        out += t_[i].text;
        continue;
      }
      out += call(i, open, close);
      i = close;
    }
    return out;
  }

 private:
  // The '(' of a call of a function this pass rewrites, when token i names one.
  std::size_t callOpen(std::size_t i, std::size_t end) const {
    const Token& name = t_[i];
    if (name.kind != TokenKind::Word) return npos;
    if (!(isWord(name, "isnull") || isWord(name, "len") || isWord(name, "getdate") || isWord(name, "cast") ||
          isWord(name, "convert")))
      return npos;
    std::size_t before = previousSignificant(t_, i);
    if (before != npos && isSymbol(t_[before], ".")) return npos;  // a column "x.len", not the function
    std::size_t open = nextSignificant(t_, i + 1, end);
    return open < end && isSymbol(t_[open], "(") ? open : npos;
  }

  std::string call(std::size_t name, std::size_t open, std::size_t close) const {
    auto args = splitOnCommas(t_, open + 1, close);
    std::vector<std::string> texts;
    for (auto [b, e] : args) texts.push_back(emit(b, e));
    const Token& fn = t_[name];
    if (isWord(fn, "isnull")) return "COALESCE(" + joined(texts) + ")";
    if (isWord(fn, "len") && texts.size() == 1) return spelling_.trimmedLength(texts[0]);
    if (isWord(fn, "getdate") && nextSignificant(t_, open + 1, close) == close) return spelling_.currentDateTime();
    if (isWord(fn, "cast") && args.size() == 1) return cast(fn.text, open, close);
    if (isWord(fn, "convert") && args.size() == 2) {
      // convert(type, x) is CAST(x AS type); with a style argument it is left as written.
      auto [tb, te] = args[0];
      auto [xb, xe] = args[1];
      std::size_t type = nextSignificant(t_, tb, te);
      if (type < te && isDateTimeType(t_[type])) return dateTime(xb, xe, texts[1]);
      return "CAST(" + trimmed(texts[1]) + " AS " + trimmed(textOf(t_, tb, te)) + ")";
    }
    return textOf(t_, name, open) + "(" + joined(texts) + ")";
  }

  std::string cast(const std::string& name, std::size_t open, std::size_t close) const {
    std::size_t as = npos;
    for (std::size_t i = open + 1; i < close; ++i) {
      if (isSymbol(t_[i], "(")) i = closingParen(t_, i, close);
      if (i < close && isWord(t_[i], "as")) as = i;
    }
    std::size_t type = as == npos ? close : nextSignificant(t_, as + 1, close);
    if (type < close && isDateTimeType(t_[type])) return dateTime(open + 1, as, emit(open + 1, as));
    return name + "(" + emit(open + 1, close) + ")";
  }

  // A date/time value of x: T-SQL reads a number as days since 1900-01-01, text as a date.
  std::string dateTime(std::size_t begin, std::size_t end, const std::string& x) const {
    std::string value = trimmed(x);
    if (isTextExpression(t_, begin, end, context_)) return spelling_.textAsDateTime(value);
    return spelling_.daysSince1900(value);
  }

  static std::string joined(const std::vector<std::string>& texts) {
    std::string out;
    for (std::size_t i = 0; i < texts.size(); ++i) out += (i ? "," : "") + texts[i];
    return out;
  }

  static std::string trimmed(std::string s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!s.empty() && blank(s.back())) s.pop_back();
    std::size_t start = 0;
    while (start < s.size() && blank(s[start])) ++start;
    return s.substr(start);
  }

  const Tokens& t_;
  const BackendSpelling& spelling_;
  const StatementContext& context_;
};

}  // namespace

std::string functionCalls(const Tokens& tokens, const BackendSpelling& spelling, const StatementContext& context) {
  return Emitter(tokens, spelling, context).emit(0, tokens.size());
}

}  // namespace slownik::sql::tsql
