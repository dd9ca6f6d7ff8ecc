#include "framework/sql/routine_registry.h"

#include <cctype>

#include "framework/sql/text.h"

namespace slownik::sql {
namespace {

struct Scanner {
  std::string_view s;
  std::size_t i = 0;

  void skipSpace() {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  }
  bool keyword(std::string_view word) {
    skipSpace();
    if (s.size() - i < word.size() || !equalsIgnoreCase(s.substr(i, word.size()), word)) return false;
    std::size_t end = i + word.size();
    if (end < s.size() && (std::isalnum(static_cast<unsigned char>(s[end])) || s[end] == '_')) return false;
    i = end;
    return true;
  }
  bool consume(char c) {
    skipSpace();
    if (i < s.size() && s[i] == c) {
      ++i;
      return true;
    }
    return false;
  }
  std::string identifier() {
    skipSpace();
    std::size_t start = i;
    while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_' || s[i] == '.')) ++i;
    std::string name(s.substr(start, i - start));
    // "dbo.X" names the same routine as "X".
    if (auto dot = name.rfind('.'); dot != std::string::npos) name = name.substr(dot + 1);
    return name;
  }
  // One literal argument: 'text' (with '' inside), a number, NULL.
  bool literal(Cell* out) {
    skipSpace();
    if (i >= s.size()) return false;
    if (s[i] == '\'') {
      std::string value;
      ++i;
      while (i < s.size()) {
        if (s[i] == '\'') {
          if (i + 1 < s.size() && s[i + 1] == '\'') {
            value += '\'';
            i += 2;
            continue;
          }
          ++i;
          *out = value;
          return true;
        }
        value += s[i++];
      }
      return false;
    }
    if (keyword("null")) {
      *out = std::nullopt;
      return true;
    }
    std::size_t start = i;
    if (s[i] == '-' || s[i] == '+') ++i;
    while (i < s.size() && (std::isdigit(static_cast<unsigned char>(s[i])) || s[i] == '.' || s[i] == 'e' || s[i] == 'E'))
      ++i;
    if (i == start) return false;
    *out = std::string(s.substr(start, i - start));
    return true;
  }
  bool arguments(std::vector<Cell>* args, char close) {
    skipSpace();
    if (close && consume(close)) return true;
    if (!close && atEnd()) return true;
    while (true) {
      Cell value;
      if (!literal(&value)) return false;
      args->push_back(std::move(value));
      if (consume(',')) continue;
      if (close) return consume(close);
      return atEnd();
    }
  }
  bool atEnd() {
    skipSpace();
    while (i < s.size() && s[i] == ';') ++i;
    skipSpace();
    return i >= s.size();
  }
};

}  // namespace

std::optional<RoutineCall> parseRoutineCall(std::string_view sql) {
  Scanner sc{sql};
  RoutineCall call;
  if (sc.keyword("call")) {
    call.name = sc.identifier();
    if (sc.consume('(')) {
      if (!sc.arguments(&call.args, ')')) return std::nullopt;
    }
    if (!sc.atEnd()) return std::nullopt;
  } else if (sc.keyword("exec") || sc.keyword("execute")) {
    call.name = sc.identifier();
    if (!sc.arguments(&call.args, 0)) return std::nullopt;
  } else if (sc.keyword("select")) {
    if (!sc.consume('*') || !sc.keyword("from")) return std::nullopt;
    call.name = sc.identifier();
    call.asSelect = true;
    if (!sc.consume('(') || !sc.arguments(&call.args, ')') || !sc.atEnd()) return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (call.name.empty() || !RoutineRegistry::instance().contains(call.name)) return std::nullopt;
  return call;
}

RoutineRegistry& RoutineRegistry::instance() {
  static RoutineRegistry registry;
  return registry;
}

RoutineRegistry::RoutineRegistry() { registerStandardRoutines(*this); }

void RoutineRegistry::add(std::string name, RoutineBody body, Access access) {
  std::lock_guard lock(mutex_);
  routines_[toUpperAscii(name)] = Entry{std::move(body), access};
}

bool RoutineRegistry::contains(std::string_view name) const {
  std::lock_guard lock(mutex_);
  return routines_.count(toUpperAscii(name)) != 0;
}

Status RoutineRegistry::invoke(Database& db, const RoutineCall& call, Result* out) {
  Entry entry;
  {
    std::lock_guard lock(mutex_);
    auto it = routines_.find(toUpperAscii(call.name));
    if (it == routines_.end()) return Status::failure("Nieznana procedura " + call.name);
    entry = it->second;
  }
  // Inside an open transaction a single statement still gets its savepoint: on PostgreSQL
  // its failure would otherwise spoil the caller's whole transaction.
  if (entry.access == Access::ReadsOnly || (entry.access == Access::OneStatement && db.transactionDepth() == 0)) {
    Result rows;
    Status s = entry.body(db, call.args, &rows);
    if (s && out) *out = std::move(rows);
    return s;
  }
  const RoutineBody& body = entry.body;
  Transaction tx(db, TransactionMode::Immediate);
  if (!tx.status()) return tx.status();
  Result rows;
  Status s = body(db, call.args, &rows);
  if (!s) return s;  // the guard rolls back
  s = tx.commit();
  if (s && out) *out = std::move(rows);
  return s;
}

}  // namespace slownik::sql
