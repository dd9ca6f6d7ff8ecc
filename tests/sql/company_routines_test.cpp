// TK_InicjacjaSystemu, TK_PracujZFirma and the removal of a company's data, against the
// bare catalogue on every backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "framework/sql/catalogue.h"
#include "framework/sql/database.h"
#include "framework/sql/routines/company_routines.h"
#include "support/backends.h"

namespace slownik {
namespace {

class CompanyRoutines : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("INSERT INTO FIRMA (ID_FIRMY, NAZWA, VEX, SEMAFOR) VALUES (3, 'Piekarnia ''U Zośki''', 0, 0), "
         "(4, 'Młyn Żytni', 1, 0)");
  }
  sql::Status call(const std::string& text) { return db().run(text, nullptr); }
  long long rowsOf(long long company, const std::string& table) {
    return std::stoll(scalar("SELECT COUNT(*) FROM " + table + " WHERE ID_FIRMY = " + std::to_string(company)));
  }
};

TEST_P(CompanyRoutines, SetUpGivesACompanyItsSystemDataOnceAndConnectsIt) {
  ASSERT_TRUE(call("call TK_InicjacjaSystemu(3)").isOk());
  const struct {
    const char* table;
    long long rows;
  } expected[] = {{"TYP_DOKUMENTU_MAGAZYNOWEGO", 11}, {"TYP_DOKUMENTU_HANDLOWEGO", 6}, {"TYP_DOKUMENTU_FINANSOWEGO", 5},
                  {"NUMERACJA", 22},                  {"GRUPAUZYTKOWNIKOW", 1},        {"MAGAZYN", 1},
                  {"KASY_FIRMY", 1},                  {"FORMA_DOSTAWY", 2}};
  for (const auto& e : expected) EXPECT_EQ(rowsOf(3, e.table), e.rows) << e.table;
  EXPECT_EQ(scalar("SELECT VEX FROM FIRMA WHERE ID_FIRMY = 3"), "1");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DOSTEP WHERE ID_FIRMY = 3 AND RODZAJ_DOSTEPU > 0"),
            std::to_string(sql::everyRight().size()));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DOSTEP WHERE ID_FIRMY = 3 AND KOD = 'EDanePodm'"), "1");
  EXPECT_EQ(scalar("SELECT STAN_MAGAZYNU FROM MAGAZYN WHERE ID_FIRMY = 3"), "Praca");
  // Numbering definitions: receipts apart, signatures without their padding.
  EXPECT_EQ(scalar("SELECT N.SYGNATURA || '|' || N.PRZYCHOD FROM NUMERACJA N JOIN TYP_DOKUMENTU_MAGAZYNOWEGO T "
                   "ON T.ID_TYPU = N.TYP_DOKUMENTU AND N.DOKUMENT = 1 WHERE T.ID_FIRMY = 3 AND T.SYGNATURA = 'PZ '"),
            "PZ|1");
  EXPECT_EQ(scalar("SELECT N.PRZYCHOD FROM NUMERACJA N JOIN TYP_DOKUMENTU_MAGAZYNOWEGO T "
                   "ON T.ID_TYPU = N.TYP_DOKUMENTU AND N.DOKUMENT = 1 WHERE T.ID_FIRMY = 3 AND T.SYGNATURA = 'WZ '"),
            "0");
  // The shared rows, with the ids they have always had in a new database.
  EXPECT_EQ(scalar("SELECT ID_FORMY FROM FORMA_PLATNOSCI WHERE KOD = 'KOM'"), "5");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FORMA_PLATNOSCI WHERE ID_FIRMY = 0 AND SYSTEMOWY = 1"), "4");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM VEX_SLOWNIK_STATUSOW_DOKUMENTOW WHERE SYSTEMOWY = 1"), "5");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM RODZAJ_OPERACJI_FIN"), "3");

  // Again, and for a second company: nothing twice, the shared rows once.
  ASSERT_TRUE(call("call TK_InicjacjaSystemu(3)").isOk());
  ASSERT_TRUE(call("call TK_InicjacjaSystemu(4)").isOk());
  for (const auto& e : expected) {
    EXPECT_EQ(rowsOf(3, e.table), e.rows) << e.table;
    EXPECT_EQ(rowsOf(4, e.table), e.rows) << e.table;
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FORMA_PLATNOSCI"), "4");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM VEX_SLOWNIK_STATUSOW_DOKUMENTOW"), "5");
  EXPECT_EQ(scalar("SELECT COUNT(DISTINCT ID_TYPU) FROM TYP_DOKUMENTU_MAGAZYNOWEGO"), "22");

  // A company that does not exist, or the shared rows' company 0, is refused.
  for (const char* bad : {"call TK_InicjacjaSystemu(99)", "call TK_InicjacjaSystemu(0)", "call TK_InicjacjaSystemu()"})
    EXPECT_FALSE(call(bad).isOk()) << bad;
  EXPECT_EQ(rowsOf(99, "MAGAZYN") + rowsOf(0, "MAGAZYN"), 0);
}

TEST_P(CompanyRoutines, SetUpTakesIdsPastOtherRowsAndReservations) {
  exec("INSERT INTO FORMA_PLATNOSCI (ID_FORMY, KOD, NAZWA, SYSTEMOWY, ID_FIRMY) VALUES (1, 'X', 'własna', 0, 0)");
  exec("INSERT INTO MAGAZYN (ID_FIRMY, ID_MAGAZYNU, NAZWA, SYMBOL, STAN_MAGAZYNU) VALUES (4, 5, 'Inny', 'IN', 'Praca')");
  exec("INSERT INTO REZERWACJA_ID (TABELA, ID, WLASCICIEL) VALUES ('MAGAZYN', 9, 'inny program')");
  ASSERT_TRUE(call("call TK_InicjacjaSystemu(3)").isOk());
  EXPECT_EQ(scalar("SELECT ID_MAGAZYNU FROM MAGAZYN WHERE ID_FIRMY = 3"), "10") << "past the reserved id";
  EXPECT_EQ(scalar("SELECT NAZWA FROM FORMA_PLATNOSCI WHERE ID_FORMY = 1"), "własna");
  EXPECT_NE(scalar("SELECT ID_FORMY FROM FORMA_PLATNOSCI WHERE KOD = 'G'"), "1");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FORMA_PLATNOSCI WHERE SYSTEMOWY = 1"), "4");
}

TEST_P(CompanyRoutines, ConnectingSetsVexUnlessAnotherUserEditsTheCompany) {
  ASSERT_TRUE(call("call TK_PracujZFirma(3,6100003,1)").isOk());
  EXPECT_EQ(scalar("SELECT VEX FROM FIRMA WHERE ID_FIRMY = 3"), "1");
  ASSERT_TRUE(call("call TK_PracujZFirma(3,6100003,2)").isOk());
  EXPECT_EQ(scalar("SELECT VEX FROM FIRMA WHERE ID_FIRMY = 3"), "0");
  EXPECT_FALSE(call("call TK_PracujZFirma(3,6100003,3)").isOk());
  EXPECT_FALSE(call("call TK_PracujZFirma(99,6100003,1)").isOk());

  exec("UPDATE FIRMA SET SEMAFOR = 6100004 WHERE ID_FIRMY = 4");
  sql::Status refused = call("call TK_PracujZFirma(4,6100003,2)");
  ASSERT_FALSE(refused.isOk());
  EXPECT_NE(refused.message().find("Lock"), std::string::npos) << refused.message();
  EXPECT_EQ(scalar("SELECT VEX FROM FIRMA WHERE ID_FIRMY = 4"), "1");
  // The holder itself may.
  ASSERT_TRUE(call("call TK_PracujZFirma(4,6100004,2)").isOk());
  EXPECT_EQ(scalar("SELECT VEX FROM FIRMA WHERE ID_FIRMY = 4"), "0");
}

TEST_P(CompanyRoutines, TheDeleteReachesEveryCompanyTableAndWhatHangsOnItsRows) {
  std::set<std::string> reached;
  for (const auto& step : sql::companyDeleteSteps()) reached.insert(step.table);
  for (const auto& table : sql::Catalogue::instance().tables()) {
    if (table.isView || !table.column("ID_FIRMY")) continue;
    const bool kept = table.name == "FIRMA" || table.name == "LOG_ZDARZEN";
    EXPECT_EQ(reached.count(table.name), kept ? 0u : 1u) << table.name;
  }
  for (const char* child : {"ARTYKUL", "UZYTKOWNIKGRUPY", "STAN_UZYTKOWNIKA_W_MAG", "ODSETKI"})
    EXPECT_EQ(reached.count(child), 1u) << child;
  // Users outlive the employees they were linked to; the document type ids of three
  // tables say nothing about which one they mean.
  EXPECT_EQ(reached.count("UZYTKOWNIK"), 0u);
  for (const auto& step : sql::companyDeleteSteps()) EXPECT_EQ(step.sql.find("ID_TYPU IN"), std::string::npos);
}

TEST_P(CompanyRoutines, ACompanyGoesWithAllItsRowsInOneTransaction) {
  ASSERT_TRUE(call("call TK_InicjacjaSystemu(3)").isOk());
  ASSERT_TRUE(call("call TK_InicjacjaSystemu(4)").isOk());
  const std::string warehouse = scalar("SELECT ID_MAGAZYNU FROM MAGAZYN WHERE ID_FIRMY = 3");
  exec("INSERT INTO ARTYKUL (ID_ARTYKULU, ID_MAGAZYNU, INDEKS_KATALOGOWY, NAZWA) VALUES (1, " + warehouse +
       ", 'A', 'Mąka'), (2, " + scalar("SELECT ID_MAGAZYNU FROM MAGAZYN WHERE ID_FIRMY = 4") + ", 'A', 'Mąka')");
  exec("INSERT INTO UZYTKOWNIKGRUPY (ID_GRUPY, ID_UZYTKOWNIKA) SELECT ID_GRUPY, 6100004 FROM GRUPAUZYTKOWNIKOW");
  exec("INSERT INTO LOG_ZDARZEN (ID_FIRMY, TABELA, OPERACJA, OPIS) VALUES (3, 'FIRMA', 1, 'założona')");

  // A step that fails half-way leaves the company whole.
  const std::string last = sql::companyDeleteSteps().back().table;
  {
    auto other = openAnother();
    ASSERT_TRUE(other->execute("DROP TABLE " + last).isOk());
  }
  EXPECT_FALSE(call("call TKW_KartotekaZapisSkasuj('firma',3,6100003)").isOk());
  EXPECT_EQ(rowsOf(3, "MAGAZYN"), 1);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ARTYKUL"), "2");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FIRMA WHERE ID_FIRMY = 3"), "1");
}

TEST_P(CompanyRoutines, DeletingTellsTheWatchingThreadEachStep) {
  ASSERT_TRUE(call("call TK_InicjacjaSystemu(3)").isOk());
  ASSERT_TRUE(call("call TK_InicjacjaSystemu(4)").isOk());
  const std::string warehouse = scalar("SELECT ID_MAGAZYNU FROM MAGAZYN WHERE ID_FIRMY = 3");
  exec("INSERT INTO ARTYKUL (ID_ARTYKULU, ID_MAGAZYNU, INDEKS_KATALOGOWY, NAZWA) VALUES (1, " + warehouse +
       ", 'A', 'Mąka')");
  exec("INSERT INTO UZYTKOWNIKGRUPY (ID_GRUPY, ID_UZYTKOWNIKA) SELECT ID_GRUPY, 6100004 FROM GRUPAUZYTKOWNIKOW");
  exec("INSERT INTO LOG_ZDARZEN (ID_FIRMY, TABELA, OPERACJA, OPIS) VALUES (3, 'FIRMA', 1, 'założona')");
  std::vector<std::string> labels;
  int steps = 0;
  {
    sql::CompanyDeleteWatch watch([&](const std::string& label, int step, int total) {
      labels.push_back(label);
      EXPECT_EQ(step, static_cast<int>(labels.size()));
      steps = total;
    });
    ASSERT_TRUE(call("call TKW_KartotekaZapisSkasuj('firma',3,6100003)").isOk());
  }
  EXPECT_EQ(static_cast<int>(labels.size()), steps);
  EXPECT_NE(std::find(labels.begin(), labels.end(), "magazyny"), labels.end());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FIRMA WHERE ID_FIRMY = 3"), "0");
  for (const auto& table : sql::Catalogue::instance().tables())
    if (!table.isView && table.column("ID_FIRMY") && table.name != "LOG_ZDARZEN")
      EXPECT_EQ(rowsOf(3, table.name), 0) << table.name;
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ARTYKUL"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM UZYTKOWNIKGRUPY"), "1") << "the other company's member stays";
  EXPECT_EQ(rowsOf(3, "LOG_ZDARZEN"), 1) << "the log outlives what it tells about";
  EXPECT_EQ(rowsOf(4, "TYP_DOKUMENTU_MAGAZYNOWEGO"), 11);

  // Without a watch nothing is told, and nothing fails.
  labels.clear();
  ASSERT_TRUE(call("call TKW_KartotekaZapisSkasuj('firma',4,6100003)").isOk());
  EXPECT_TRUE(labels.empty());
}

SLOWNIK_ON_ALL_BACKENDS(CompanyRoutines);

}  // namespace
}  // namespace slownik
