#include "framework/services/classifiers.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "framework/data/globals.h"
#include "framework/runtime/error_state.h"
#include "framework/services/messages.h"
#include "framework/services/service_database.h"
#include "framework/sql/text.h"

namespace slownik::svc {
namespace {

std::string trimmedText(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

long long company() { return static_cast<long long>(data::glo().ID_FIRMY.get()); }

// This thread's record values per kind, with the record they belong to: a form and the
// windows it opens run on one thread.
std::map<std::string, ClassifierValues>& recordValues() {
  thread_local std::map<std::string, ClassifierValues> values;
  return values;
}
std::map<std::string, double>& recordIds() {
  thread_local std::map<std::string, double> ids;
  return ids;
}

// The filter values per kind outlive the filter window and its thread.
std::mutex filterMutex;
std::map<std::string, ClassifierValues>& filterValues() {
  static std::map<std::string, ClassifierValues> values;
  return values;
}

bool validNumber(int number) { return number >= 1 && number <= kClassifierCount; }

}  // namespace

std::vector<ClassifierDefinition> classifierDefinitions(std::string_view kind) {
  std::vector<ClassifierDefinition> defs(kClassifierCount);
  for (int i = 0; i < kClassifierCount; ++i) defs[i].number = i + 1;
  sql::Result r;
  if (!serviceExecute("SELECT NUMER, NAZWA, WYMAGANY, TYLKO_Z_LISTY FROM KLASYFIKATOR_DEFINICJA "
                      "WHERE ID_FIRMY = ? AND RODZAJ = ?",
                      {company(), std::string(kind)}, &r))
    return defs;
  for (std::size_t i = 0; i < r.size(); ++i) {
    int number = std::atoi(r.text(i, 0).c_str());
    if (!validNumber(number)) continue;
    ClassifierDefinition& d = defs[number - 1];
    d.name = trimmedText(r.text(i, 1));
    d.required = r.text(i, 2) == "1";
    d.listOnly = r.text(i, 3) == "1";
  }
  sql::Result v;
  if (!serviceExecute("SELECT NUMER_KLASYFIKATORA, WARTOSC FROM KLASYFIKATOR_SLOWNIK_WAR "
                      "WHERE ID_FIRMY = ? AND RODZAJ = ? ORDER BY NUMER_KLASYFIKATORA, ID_WARTOSCI",
                      {company(), std::string(kind)}, &v))
    return defs;
  for (std::size_t i = 0; i < v.size(); ++i) {
    int number = std::atoi(v.text(i, 0).c_str());
    if (validNumber(number)) defs[number - 1].values.push_back(v.text(i, 1));
  }
  return defs;
}

sql::Status saveClassifierDefinitions(std::string_view kind, const std::vector<ClassifierDefinition>& definitions) {
  const std::string k(kind);
  return serviceTransaction([&](sql::Database& db) -> sql::Status {
    sql::Param owner[] = {company(), k};
    if (auto s = db.execute("DELETE FROM KLASYFIKATOR_DEFINICJA WHERE ID_FIRMY = ? AND RODZAJ = ?", owner, nullptr); !s)
      return s;
    if (auto s = db.execute("DELETE FROM KLASYFIKATOR_SLOWNIK_WAR WHERE ID_FIRMY = ? AND RODZAJ = ?", owner, nullptr); !s)
      return s;
    for (const auto& d : definitions) {
      if (!d.isDefined() || !validNumber(d.number)) continue;
      sql::Param def[] = {company(), k, static_cast<long long>(d.number), d.name,
                          static_cast<long long>(d.required), static_cast<long long>(d.listOnly)};
      if (auto s = db.execute("INSERT INTO KLASYFIKATOR_DEFINICJA (ID_DEFINICJI, ID_FIRMY, RODZAJ, NUMER, NAZWA, "
                              "WYMAGANY, TYLKO_Z_LISTY) SELECT COALESCE(MAX(ID_DEFINICJI), 0) + 1, ?, ?, ?, ?, ?, ? "
                              "FROM KLASYFIKATOR_DEFINICJA",
                              def, nullptr);
          !s)
        return s;
      for (const auto& value : d.values) {
        sql::Param row[] = {company(), k, static_cast<long long>(d.number), value};
        if (auto s = db.execute("INSERT INTO KLASYFIKATOR_SLOWNIK_WAR (ID_WARTOSCI, ID_FIRMY, RODZAJ, "
                                "NUMER_KLASYFIKATORA, WARTOSC) SELECT COALESCE(MAX(ID_WARTOSCI), 0) + 1, ?, ?, ?, ? "
                                "FROM KLASYFIKATOR_SLOWNIK_WAR",
                                row, nullptr);
            !s)
          return s;
      }
    }
    return {};
  });
}

std::string classifierProblem(const std::vector<ClassifierDefinition>& definitions, const ClassifierValues& values,
                              bool checkRequired) {
  for (const auto& d : definitions) {
    if (!d.isDefined() || !validNumber(d.number)) continue;
    const std::string value = trimmedText(values[d.number - 1]);
    if (value.empty()) {
      if (checkRequired && d.required) return "Proszę uzupełnić wymagane pole dodatkowe \"" + d.name + "\".";
      continue;
    }
    if (!d.listOnly) continue;
    bool listed = false;
    for (const auto& allowed : d.values) listed = listed || trimmedText(allowed) == value;
    if (!listed)
      return "Wartość \"" + value + "\" pola dodatkowego \"" + d.name + "\" nie występuje na liście dozwolonych wartości.";
  }
  return {};
}

int KLASYFIKATORY_INITUSE(std::string_view kind, double recordId) {
  ClassifierValues values;
  if (recordId > 0) {
    sql::Result r;
    if (!serviceExecute("SELECT NUMER, WARTOSC FROM KLASYFIKATOR_WARTOSC WHERE RODZAJ = ? AND ID_REKORDU = ?",
                        {std::string(kind), idParam(recordId)}, &r)) {
      MSG_OSTRZEZENIE("Nie udało się odczytać pól dodatkowych! Powód: " + rt::errorText());
      recordValues()[std::string(kind)] = values;
      recordIds()[std::string(kind)] = -1;
      return kSqlErrorCode;
    }
    for (std::size_t i = 0; i < r.size(); ++i) {
      int number = std::atoi(r.text(i, 0).c_str());
      if (validNumber(number)) values[number - 1] = r.text(i, 1);
    }
  }
  recordValues()[std::string(kind)] = values;
  recordIds()[std::string(kind)] = recordId;
  return 0;
}

double loadedRecord(std::string_view kind) {
  auto it = recordIds().find(std::string(kind));
  return it == recordIds().end() ? -1 : it->second;
}

int KLASYFIKATORY_WALIDUJ(std::string_view kind) {
  std::string problem = classifierProblem(classifierDefinitions(kind), classifierValues(kind), true);
  if (problem.empty()) return 0;
  MSG_OSTRZEZENIE(problem);
  return 1;
}

int KLASYFIKATORY_ZAPISZ(std::string_view kind, double recordId) {
  const ClassifierValues values = classifierValues(kind);
  const std::string k(kind);
  sql::Status s = serviceTransaction([&](sql::Database& db) -> sql::Status {
    sql::Param record[] = {k, idParam(recordId)};
    if (auto st = db.execute("DELETE FROM KLASYFIKATOR_WARTOSC WHERE RODZAJ = ? AND ID_REKORDU = ?", record, nullptr); !st)
      return st;
    for (int n = 1; n <= kClassifierCount; ++n) {
      std::string value = sql::truncateUtf8(trimmedText(values[n - 1]), 100);
      if (value.empty()) continue;
      sql::Param row[] = {k, idParam(recordId), static_cast<long long>(n), value};
      if (auto st = db.execute("INSERT INTO KLASYFIKATOR_WARTOSC (RODZAJ, ID_REKORDU, NUMER, WARTOSC) VALUES (?, ?, ?, ?)",
                               row, nullptr);
          !st)
        return st;
    }
    return {};
  });
  if (s) return 0;
  MSG_OSTRZEZENIE("Nie udało się zapisać pól dodatkowych! Powód: " + rt::errorText());
  return kSqlErrorCode;
}

std::string KLASYFIKATORY_UTWORZSQL(std::string_view kind, std::string_view keyColumn) {
  const ClassifierValues values = classifierFilter(kind);
  std::string condition;
  for (int n = 1; n <= kClassifierCount; ++n) {
    const std::string value = trimmedText(values[n - 1]);
    if (value.empty()) continue;
    if (!condition.empty()) condition += " and ";
    condition += std::string(keyColumn) + " in (select id_rekordu from klasyfikator_wartosc where rodzaj=" +
                 sql::quote(kind) + " and numer=" + std::to_string(n) + " and wartosc=" + sql::quote(value) + ")";
  }
  return condition;
}

ClassifierValues classifierValues(std::string_view kind) {
  auto it = recordValues().find(std::string(kind));
  return it == recordValues().end() ? ClassifierValues{} : it->second;
}

void setClassifierValue(std::string_view kind, int number, std::string value) {
  if (validNumber(number)) recordValues()[std::string(kind)][number - 1] = std::move(value);
}

ClassifierValues classifierFilter(std::string_view kind) {
  std::lock_guard lock(filterMutex);
  auto it = filterValues().find(std::string(kind));
  return it == filterValues().end() ? ClassifierValues{} : it->second;
}

void setClassifierFilter(std::string_view kind, const ClassifierValues& values) {
  std::lock_guard lock(filterMutex);
  filterValues()[std::string(kind)] = values;
}

}  // namespace slownik::svc
