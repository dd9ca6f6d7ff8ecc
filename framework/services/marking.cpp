#include "framework/services/marking.h"

#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

#include "framework/data/globals.h"
#include "framework/services/service_database.h"

namespace slownik::svc {
namespace {

// Rows per multi-row statement: keeps statements short on lists of any size.
constexpr std::size_t kChunk = 500;

using IdSet = std::set<long long>;

long long session() { return static_cast<long long>(data::glo().ID_UZYTKOWNIKA.get()); }

int outcome(const sql::Status& s) { return s.isOk() ? 0 : kSqlErrorCode; }

// Integral ids of the first column; NULLs and text that is no number are skipped.
IdSet idsOf(const sql::Result& rows) {
  IdSet ids;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows.isNull(i, 0)) continue;
    std::string text = rows.text(i, 0);
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(v)) continue;
    ids.insert(static_cast<long long>(std::trunc(v)));
  }
  return ids;
}

sql::Status markedIds(sql::Database& db, int usage, IdSet* out) {
  sql::Result r;
  sql::Param params[] = {static_cast<long long>(usage), session()};
  sql::Status s = db.execute("SELECT ID FROM ZAZNACZONE WHERE UZYCIE = ? AND ID_SESJI = ?", params, &r);
  if (s) *out = idsOf(r);
  return s;
}

// Ids are integers made here, so they are written as plain numbers.
sql::Status insertMarks(sql::Database& db, int usage, const std::vector<long long>& ids) {
  for (std::size_t at = 0; at < ids.size(); at += kChunk) {
    std::string sql = "INSERT INTO ZAZNACZONE (ID, UZYCIE, ID_SESJI) VALUES ";
    for (std::size_t i = at; i < ids.size() && i < at + kChunk; ++i) {
      sql += (i == at ? "(" : ", (") + std::to_string(ids[i]) + ", " + std::to_string(usage) + ", " +
             std::to_string(session()) + ")";
    }
    sql += " ON CONFLICT DO NOTHING";
    if (sql::Status s = db.execute(sql); !s) return s;
  }
  return {};
}

sql::Status deleteMarks(sql::Database& db, int usage, const std::vector<long long>& ids) {
  for (std::size_t at = 0; at < ids.size(); at += kChunk) {
    std::string sql = "DELETE FROM ZAZNACZONE WHERE UZYCIE = " + std::to_string(usage) +
                      " AND ID_SESJI = " + std::to_string(session()) + " AND ID IN (";
    for (std::size_t i = at; i < ids.size() && i < at + kChunk; ++i) sql += (i == at ? "" : ", ") + std::to_string(ids[i]);
    sql += ")";
    if (sql::Status s = db.execute(sql); !s) return s;
  }
  return {};
}

// Marks the rows of the list's statement: invert = false marks them all,
// invert = true flips each one.
int markRows(int usage, std::string_view rowsSql, bool invert) {
  sql::Result rows;
  if (!serviceRun(rowsSql, &rows)) return kSqlErrorCode;
  const IdSet listed = idsOf(rows);
  return outcome(serviceTransaction([&](sql::Database& db) {
    IdSet marked;
    if (sql::Status s = markedIds(db, usage, &marked); !s) return s;
    std::vector<long long> toMark, toUnmark;
    for (long long id : listed) {
      if (!marked.contains(id)) toMark.push_back(id);
      else if (invert) toUnmark.push_back(id);
    }
    if (sql::Status s = deleteMarks(db, usage, toUnmark); !s) return s;
    return insertMarks(db, usage, toMark);
  }));
}

}  // namespace

int ZAZNACZSQL(int usage, double id) {
  return outcome(serviceExecute(
      "INSERT INTO ZAZNACZONE (ID, UZYCIE, ID_SESJI) VALUES (?, ?, ?) ON CONFLICT DO NOTHING",
      {idParam(id), static_cast<long long>(usage), session()}));
}

int ODZNACZSQL(int usage, double id) {
  return outcome(serviceExecute("DELETE FROM ZAZNACZONE WHERE UZYCIE = ? AND ID_SESJI = ? AND ID = ?",
                                {static_cast<long long>(usage), session(), idParam(id)}));
}

int ZAZNACZALLSQL(int usage, std::string_view rowsSql) { return markRows(usage, rowsSql, false); }

int INWERSJASQL(int usage, std::string_view rowsSql) { return markRows(usage, rowsSql, true); }

int ODZNACZALLSQL(int usage) {
  return outcome(serviceExecute("DELETE FROM ZAZNACZONE WHERE UZYCIE = ? AND ID_SESJI = ?",
                                {static_cast<long long>(usage), session()}));
}

long ILEZAZNACZONYCH(int usage) {
  sql::Result r;
  if (!serviceExecute("SELECT COUNT(*) FROM ZAZNACZONE WHERE UZYCIE = ? AND ID_SESJI = ?",
                      {static_cast<long long>(usage), session()}, &r))
    return 0;
  return std::atol(r.scalar().c_str());
}

std::string DISPLAYZAZNACZONE(long count, std::string_view what) {
  return "Ilość zaznaczonych " + std::string(what) + ": " + std::to_string(count);
}

}  // namespace slownik::svc
