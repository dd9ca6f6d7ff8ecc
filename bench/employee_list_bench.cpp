// The employee list over 100 000 employees of one company: its first page under the
// filter window's surname condition (ordered by surname), and its page after a locator
// seek on PESEL (ordered by PESEL), read through the view as the list reads them.
// Compared with the same keyset statements issued straight on the connection. SQLite,
// and PostgreSQL when SLOWNIK_TEST_PG_URL is set (scripts/with_postgres.sh).
//   employee_list_bench [pages]     default: 300
// With SLOWNIK_BENCH_SQL set it also prints the statement the locator's seek sends.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/scratch_database.h"
#include "dictionaries/staff/employee_filter.h"
#include "framework/data/view_manager.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/schema.h"
#include "framework/sql/thread_database.h"

using namespace slownik;
using bench::seconds;

namespace {

constexpr int kEmployees = 100000;
constexpr int kPage = 20;
constexpr long long kCompany = 1;
constexpr int kBatch = 500;
const char* const kSurnames[] = {"Nowak",     "Kowalski", "Wiśniewski", "Wójcik",  "Kowalczyk", "Kamiński",
                                 "Lewandowski", "Zieliński", "Szymański", "Woźniak", "Dąbrowski", "Kozłowski",
                                 "Jankowski", "Mazur",    "Kwiatkowski", "Krawczyk", "Piotrowski", "Grabowski"};
constexpr int kSurnameCount = sizeof(kSurnames) / sizeof(kSurnames[0]);

bool ok(const sql::Status& s, const char* what) {
  if (!s) std::printf("%s: %s\n", what, s.message().c_str());
  return s.isOk();
}

std::string peselOf(int i) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%011lld", 50010100000LL + static_cast<long long>(i) * 7919 % 49999999999LL);
  return buffer;
}

std::string surnameOf(int i) { return std::string(kSurnames[i % kSurnameCount]) + (i % 3 == 0 ? "a" : ""); }

bool fillEmployees(sql::Database& db) {
  if (!ok(sql::migrate(db), "migrate")) return false;
  sql::Transaction tx(db);
  for (int start = 0; start < kEmployees; start += kBatch) {
    std::string sql =
        "INSERT INTO PRACOWNIK (ID_PRACOWNIKA, ID_FIRMY, NR_EWIDENCYJNY, NAZWISKO, IMIE_1, PESEL, NIP, SEMAFOR, "
        "ID_UZYTKOWNIKA, PLEW, ARCHIWUM) VALUES ";
    std::vector<sql::Param> params;
    for (int i = start; i < start + kBatch && i < kEmployees; ++i) {
      sql += std::string(i == start ? "" : ", ") + "(?, ?, ?, ?, ?, ?, '', 0, 0, 0, ?)";
      char number[16];
      std::snprintf(number, sizeof number, "P/%06d", i);
      params.insert(params.end(), {static_cast<long long>(i + 1), kCompany, std::string(number), surnameOf(i),
                                   std::string("Imię"), peselOf(i), static_cast<long long>(i % 10 == 0 ? 2 : 1)});
    }
    if (!ok(db.execute(sql, params, nullptr), "employees")) return false;
  }
  return ok(tx.commit(), "commit");
}

struct Figures {
  double list = 0;  // seconds per page
  double raw = 0;
};

// The first page under the surname condition, ordered by surname.
Figures filteredFirstPage(sql::Database& db, int pages) {
  data::ViewManager view(*sql::Catalogue::instance().find("PRACOWNIK"));
  view.addRange("PRA:ID_FIRMY", kCompany);
  view.setOrderKey("PRA:PRACOWNIK_IDFIR_NAZWISKO_ID_PRAC");
  view.open();
  std::vector<data::ViewRow> rows;
  long checksum = 0, rawChecksum = 0;
  Figures f;
  f.list = seconds([&] {
             for (int p = 0; p < pages; ++p) {
               staff::EmployeeFilterValues values;
               values.surname = kSurnames[p % kSurnameCount];
               view.setSqlFilter("+" + staff::employeeFilterCondition(values));
               view.firstPage(kPage, rows);
               checksum += static_cast<long>(rows.size());
             }
           }) / pages;
  view.close();
  const std::string raw =
      "SELECT * FROM PRACOWNIK A WHERE A.ID_FIRMY = ? AND A.NAZWISKO LIKE ? "
      "ORDER BY A.ID_FIRMY, A.NAZWISKO, A.ID_PRACOWNIKA LIMIT 20";
  f.raw = seconds([&] {
            for (int p = 0; p < pages; ++p) {
              sql::Result r;
              std::vector<sql::Param> params = {kCompany, std::string(kSurnames[p % kSurnameCount]) + "%"};
              db.execute(raw, params, &r);
              rawChecksum += static_cast<long>(r.rows.size());
            }
          }) / pages;
  if (checksum != rawChecksum) std::printf("  (uwaga: różne liczby wierszy: %ld / %ld)\n", checksum, rawChecksum);
  return f;
}

// The page the locator shows after a PESEL was typed, ordered by PESEL.
Figures peselSeek(sql::Database& db, int pages) {
  data::ViewManager view(*sql::Catalogue::instance().find("PRACOWNIK"));
  view.addRange("PRA:ID_FIRMY", kCompany);
  view.setOrderKey("PRA:PRACOWNIK_IDFIR_PESEL_IDPRAC");
  view.open();
  std::vector<data::ViewRow> rows;
  long checksum = 0, rawChecksum = 0;
  Figures f;
  f.list = seconds([&] {
             for (int p = 0; p < pages; ++p) {
               view.seek(peselOf(p * 331 % kEmployees).substr(0, 6), kPage, rows);
               checksum += static_cast<long>(rows.size());
             }
           }) / pages;
  // The statement a seek sends, to compare with the direct one below.
  if (std::getenv("SLOWNIK_BENCH_SQL")) std::printf("  lokator: %s\n", view.lastSql().c_str());
  view.close();
  const std::string raw =
      "SELECT * FROM PRACOWNIK A WHERE A.ID_FIRMY = ? AND A.PESEL >= ? "
      "ORDER BY A.ID_FIRMY, A.PESEL, A.ID_PRACOWNIKA LIMIT 20";
  f.raw = seconds([&] {
            for (int p = 0; p < pages; ++p) {
              sql::Result r;
              std::vector<sql::Param> params = {kCompany, peselOf(p * 331 % kEmployees).substr(0, 6)};
              db.execute(raw, params, &r);
              rawChecksum += static_cast<long>(r.rows.size());
            }
          }) / pages;
  if (checksum != rawChecksum) std::printf("  (uwaga: różne liczby wierszy: %ld / %ld)\n", checksum, rawChecksum);
  return f;
}

void runBackend(const char* backend, int pages) {
  bench::ScratchDatabase scratch(std::string(backend) != "sqlite", "prabench");
  sql::Status status;
  sql::Database* db = scratch.threadDatabase(&status);
  if (!db || !fillEmployees(*db)) {
    std::printf("%s: nie można przygotować bazy: %s\n", backend, status.message().c_str());
    return;
  }
  db->executeScript(std::string(backend) == "sqlite" ? "ANALYZE" : "ANALYZE PRACOWNIK");
  Figures filtered = filteredFirstPage(*db, pages);
  std::printf("%-10s filtr nazwiska, pierwsza strona: lista %.3f ms, zapytanie bezpośrednie %.3f ms, stosunek %.2f x\n",
              backend, filtered.list * 1e3, filtered.raw * 1e3, filtered.list / filtered.raw);
  Figures seek = peselSeek(*db, pages);
  std::printf("%-10s lokator PESEL, strona:          lista %.3f ms, zapytanie bezpośrednie %.3f ms, stosunek %.2f x\n",
              backend, seek.list * 1e3, seek.raw * 1e3, seek.list / seek.raw);
}

}  // namespace

int main(int argc, char** argv) {
  int pages = argc > 1 ? std::atoi(argv[1]) : 300;
  if (pages < 1) pages = 1;
  std::printf("Cel: strona listy pracowników (%d osób) <= 1.5 x to samo zapytanie bezpośrednie\n", kEmployees);
  runBackend("sqlite", pages);
  if (std::getenv("SLOWNIK_TEST_PG_URL"))
    runBackend("postgresql", pages);
  else
    std::printf("postgresql: pominięty (brak SLOWNIK_TEST_PG_URL; uruchom przez scripts/with_postgres.sh)\n");
  return 0;
}
