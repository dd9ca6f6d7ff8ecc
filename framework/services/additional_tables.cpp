#include "framework/services/additional_tables.h"

#include <cstdlib>
#include <set>
#include <string>

#include "framework/data/globals.h"
#include "framework/services/service_database.h"

namespace slownik::svc {
namespace {

long long company() { return static_cast<long long>(data::glo().ID_FIRMY.get()); }

std::string columnList(const char* stem) {
  std::string out;
  for (int i = 1; i <= kAdditionalColumns; ++i) out += std::string(i == 1 ? "" : ", ") + stem + std::to_string(i);
  return out;
}

}  // namespace

std::vector<int> AdditionalTable::usedColumns() const {
  std::vector<int> used;
  for (int i = 0; i < kAdditionalColumns && i < static_cast<int>(columns.size()); ++i)
    if (columns[i].find_first_not_of(' ') != std::string::npos) used.push_back(i + 1);
  return used;
}

std::optional<std::vector<AdditionalTable>> additionalTables(std::string_view kind) {
  sql::Result r;
  if (!serviceExecute("SELECT ID_TABELI, NAZWA, " + columnList("KOLUMNA") +
                          " FROM TABELA_DODATKOWA WHERE ID_FIRMY = ? AND RODZAJ = ? ORDER BY NAZWA, ID_TABELI",
                      {company(), std::string(kind)}, &r))
    return std::nullopt;
  std::vector<AdditionalTable> tables;
  for (std::size_t i = 0; i < r.size(); ++i) {
    AdditionalTable t;
    t.id = std::atof(r.text(i, 0).c_str());
    t.name = r.text(i, 1);
    for (int c = 0; c < kAdditionalColumns; ++c) t.columns[c] = r.text(i, 2 + c);
    tables.push_back(std::move(t));
  }
  return tables;
}

sql::Status saveAdditionalTables(std::string_view kind, const std::vector<AdditionalTable>& tables) {
  const std::string k(kind);
  return serviceTransaction([&](sql::Database& db) -> sql::Status {
    sql::Result stored;
    sql::Param owner[] = {company(), k};
    if (auto s = db.execute("SELECT ID_TABELI FROM TABELA_DODATKOWA WHERE ID_FIRMY = ? AND RODZAJ = ?", owner, &stored); !s)
      return s;
    std::set<long long> kept;
    for (const auto& t : tables)
      if (t.id > 0) kept.insert(static_cast<long long>(t.id));
    for (std::size_t i = 0; i < stored.size(); ++i) {
      long long id = std::atoll(stored.text(i, 0).c_str());
      if (kept.count(id)) continue;
      sql::Param key[] = {id};
      if (auto s = db.execute("DELETE FROM TABELA_DODATKOWA_WIERSZ WHERE ID_TABELI = ?", key, nullptr); !s) return s;
      if (auto s = db.execute("DELETE FROM TABELA_DODATKOWA WHERE ID_TABELI = ?", key, nullptr); !s) return s;
    }
    for (const auto& t : tables) {
      std::vector<sql::Param> p = {t.name};
      for (int c = 0; c < kAdditionalColumns; ++c) p.emplace_back(c < static_cast<int>(t.columns.size()) ? t.columns[c] : "");
      if (t.id > 0) {
        p.emplace_back(static_cast<long long>(t.id));
        p.emplace_back(company());
        std::string set = "NAZWA = ?";
        for (int c = 1; c <= kAdditionalColumns; ++c) set += ", KOLUMNA" + std::to_string(c) + " = ?";
        if (auto s = db.execute("UPDATE TABELA_DODATKOWA SET " + set + " WHERE ID_TABELI = ? AND ID_FIRMY = ?", p, nullptr);
            !s)
          return s;
      } else {
        p.insert(p.begin(), {company(), k});
        if (auto s = db.execute("INSERT INTO TABELA_DODATKOWA (ID_TABELI, ID_FIRMY, RODZAJ, NAZWA, " + columnList("KOLUMNA") +
                                    ") SELECT COALESCE(MAX(ID_TABELI), 0) + 1, ?, ?, ?, ?, ?, ?, ?, ? FROM TABELA_DODATKOWA",
                                p, nullptr);
            !s)
          return s;
      }
    }
    return {};
  });
}

int SPRAWDZTABELEDODATKOWE(std::string_view kind) {
  sql::Result r;
  if (!serviceExecute("SELECT COUNT(*) FROM TABELA_DODATKOWA WHERE ID_FIRMY = ? AND RODZAJ = ?",
                      {company(), std::string(kind)}, &r))
    return 0;
  return std::atoi(r.scalar().c_str()) > 0 ? 1 : 0;
}

}  // namespace slownik::svc
