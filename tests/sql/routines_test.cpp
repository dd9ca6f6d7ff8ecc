#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "framework/runtime/date_time.h"
#include "framework/sql/catalogue.h"
#include "framework/sql/database.h"
#include "framework/sql/routine_registry.h"
#include "framework/sql/routines/polish_letters.h"
#include "framework/sql/text.h"
#include "support/backends.h"

namespace slownik {
namespace {

using sql::quote;
using test::DatabaseTest;

class StoredRoutines : public DatabaseTest {
 protected:
  // Inserts a row with the given values; every other NOT NULL column of the catalogue
  // gets 0 or '' so that the tests survive new columns.
  void insertRow(const std::string& tableName, const std::map<std::string, std::string>& values) {
    const sql::TableDef* table = sql::Catalogue::instance().find(tableName);
    ASSERT_NE(table, nullptr) << tableName;
    std::string columns, literals;
    auto add = [&](const std::string& column, const std::string& literal) {
      columns += (columns.empty() ? "" : ", ") + column;
      literals += (literals.empty() ? "" : ", ") + literal;
    };
    for (const auto& [column, literal] : values) add(column, literal);
    for (const auto& c : table->columns) {
      if (c.nullable || values.count(c.name)) continue;
      bool text = c.type == sql::ColumnType::Text || c.type == sql::ColumnType::Memo;
      add(c.name, text ? "''" : "0");
    }
    exec("INSERT INTO " + table->name + " (" + columns + ") VALUES (" + literals + ")");
  }

  sql::Status call(const std::string& text, sql::Result* out = nullptr) { return db().run(text, out); }

  static std::string lockCall(const std::string& routine, const std::string& table, int id, int user) {
    std::string text = "call " + routine + "(" + quote(table) + "," + std::to_string(id) + "," + std::to_string(user);
    return text + (routine == "TKW_KartotekaSemaforUstaw" ? ",2)" : ")");
  }
  std::string lockHolder(const std::string& table, const std::string& idColumn, int id) {
    return scalar("SELECT SEMAFOR FROM " + table + " WHERE " + idColumn + " = " + std::to_string(id));
  }
};

constexpr const char* kTake = "TKW_KartotekaSemaforUstaw";
constexpr const char* kRelease = "TKW_KartotekaSemaforPoloz";
constexpr const char* kDelete = "TKW_KartotekaZapisSkasuj";

struct LockableCase {
  const char* name;  // as the windows pass it
  const char* table;
  const char* idColumn;
};

const LockableCase kLockable[] = {
    {"banki", "BANKI", "ID_BANKU"},           {"tabela_odsetek", "TABELA_ODSETEK", "ID_TABELI_ODSETEK"},
    {"urzedy", "URZEDY", "ID_URZEDU"},        {"pracownik", "PRACOWNIK", "ID_PRACOWNIKA"},
    {"firma", "FIRMA", "ID_FIRMY"},           {"kontrahent", "KONTRAHENT", "ID_KONTRAHENTA"},
};

TEST_P(StoredRoutines, LockRulesHoldOnEveryLockableTable) {
  for (const auto& t : kLockable) {
    SCOPED_TRACE(t.name);
    insertRow(t.table, {{t.idColumn, "7"}});
    insertRow(t.table, {{t.idColumn, "8"}, {"SEMAFOR", "NULL"}});

    EXPECT_TRUE(call(lockCall(kTake, t.name, 7, 1)).isOk());
    EXPECT_EQ(lockHolder(t.table, t.idColumn, 7), "1");
    EXPECT_TRUE(call(lockCall(kTake, t.name, 7, 1)).isOk()) << "the holder takes it again";

    sql::Status refused = call(lockCall(kTake, t.name, 7, 2));
    EXPECT_FALSE(refused.isOk());
    EXPECT_NE(refused.message().find("Lock"), std::string::npos) << refused.message();
    EXPECT_EQ(lockHolder(t.table, t.idColumn, 7), "1");

    EXPECT_TRUE(call(lockCall(kRelease, t.name, 7, 2)).isOk());
    EXPECT_EQ(lockHolder(t.table, t.idColumn, 7), "1") << "a non-holder cannot release";

    sql::Status deleteRefused = call(lockCall(kDelete, t.name, 7, 2));
    EXPECT_NE(deleteRefused.message().find("Lock"), std::string::npos) << deleteRefused.message();
    EXPECT_EQ(scalar(std::string("SELECT COUNT(*) FROM ") + t.table + " WHERE " + t.idColumn + " = 7"), "1");

    EXPECT_TRUE(call(lockCall(kDelete, t.name, 7, 1)).isOk()) << "the holder may delete";
    EXPECT_EQ(scalar(std::string("SELECT COUNT(*) FROM ") + t.table + " WHERE " + t.idColumn + " = 7"), "0");

    // A NULL lock is free like 0; after a release the row is free for the next user.
    EXPECT_TRUE(call(lockCall(kTake, t.name, 8, 2)).isOk());
    EXPECT_TRUE(call(lockCall(kRelease, t.name, 8, 2)).isOk());
    EXPECT_EQ(lockHolder(t.table, t.idColumn, 8), "0");
    EXPECT_TRUE(call(lockCall(kTake, t.name, 8, 3)).isOk());
    EXPECT_TRUE(call(lockCall(kRelease, t.name, 8, 3)).isOk());
    EXPECT_TRUE(call(lockCall(kDelete, t.name, 8, 1)).isOk()) << "a free row may be deleted";
    EXPECT_EQ(scalar(std::string("SELECT COUNT(*) FROM ") + t.table), "0");
  }
}

TEST_P(StoredRoutines, LockCallsThatAreNotLockConflictsSayWhatIsWrong) {
  insertRow("BANKI", {{"ID_BANKU", "1"}});
  const std::vector<std::string> wrong = {
      "call TKW_KartotekaSemaforUstaw('stawka_vat',1,1,2)",  // a table without a lock
      "call TKW_KartotekaSemaforUstaw('BAN',1,1,2)",         // a record prefix is not a table name
      "call TKW_KartotekaSemaforUstaw('ban''ki',1,1,2)",
      "call TKW_KartotekaSemaforUstaw('banki; DELETE FROM BANKI',1,1,2)",
      "call TKW_KartotekaSemaforUstaw('banki',99,1,2)",  // no such row
      "call TKW_KartotekaSemaforUstaw('banki','x',1,2)",
      "call TKW_KartotekaSemaforUstaw('banki',1.5,1,2)",
      "call TKW_KartotekaSemaforUstaw('banki',1,0,2)",
      "call TKW_KartotekaSemaforPoloz('banki',1)",
      "call TKW_KartotekaZapisSkasuj('firma',0,1)",  // shared rows of all companies
  };
  for (const auto& text : wrong) {
    sql::Status s = call(text);
    EXPECT_FALSE(s.isOk()) << text;
    EXPECT_FALSE(s.message().empty()) << text;
    EXPECT_EQ(s.message().find("Lock"), std::string::npos) << text << ": " << s.message();
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM BANKI"), "1");
  EXPECT_EQ(lockHolder("BANKI", "ID_BANKU", 1), "");
  EXPECT_TRUE(call("call TKW_KartotekaZapisSkasuj('banki',99,1)").isOk()) << "a row already gone counts as deleted";
}

TEST_P(StoredRoutines, DeleteTakesTheRowsTheRecordOwns) {
  insertRow("TABELA_ODSETEK", {{"ID_TABELI_ODSETEK", "1"}, {"ID_FIRMY", "1"}});
  insertRow("TABELA_ODSETEK", {{"ID_TABELI_ODSETEK", "2"}, {"ID_FIRMY", "2"}});
  for (const char* row : {"1, 40000", "1, 40100", "2, 40000"})
    exec(std::string("INSERT INTO ODSETKI (ID_TABELI_ODSETEK, OD_DNIA) VALUES (") + row + ")");
  ASSERT_TRUE(call("call TKW_KartotekaZapisSkasuj('tabela_odsetek',1,5)").isOk());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ODSETKI WHERE ID_TABELI_ODSETEK = 1"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ODSETKI WHERE ID_TABELI_ODSETEK = 2"), "1");

  // A company goes with all its data, but not with another company's, nor the audit log.
  insertRow("FIRMA", {{"ID_FIRMY", "2"}});
  insertRow("FIRMA", {{"ID_FIRMY", "3"}});
  insertRow("TABELA_ODSETEK", {{"ID_TABELI_ODSETEK", "3"}, {"ID_FIRMY", "3"}});
  ASSERT_TRUE(call("call TK_ZapiszDoLogu(2,0,5,2,'FIRMA',2,'Firma 2',3)").isOk());
  ASSERT_TRUE(call("call TKW_KartotekaZapisSkasuj('firma',2,5)").isOk());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FIRMA"), "1");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TABELA_ODSETEK WHERE ID_FIRMY = 2"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TABELA_ODSETEK WHERE ID_FIRMY = 3"), "1");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM LOG_ZDARZEN WHERE ID_FIRMY = 2"), "1");
}

TEST_P(StoredRoutines, AuditLogKeepsWhatTheCallersPass) {
  const std::string label = "O'Brien & Syn — Zażółć";
  ASSERT_TRUE(call("call TK_ZapiszDoLogu(1,5,6100003,5,'MAGAZYN',1,'MAG1',3)").isOk());
  ASSERT_TRUE(call("call  TK_ZapiszDoLogu(1,0,6100003,77,'KONTRAHENT',2," + quote(label) + ",3," +
                   quote("Edycja kontaktu D'Arc Joanna") + ")")
                  .isOk());
  sql::Result r;
  ASSERT_TRUE(db().execute("SELECT ID_FIRMY, ID_MAGAZYNU, ID_UZYTKOWNIKA, ID_REKORDU, TABELA, OPERACJA, OPIS, PRGKOD, "
                           "SZCZEGOLY, DATA, ID_ZDARZENIA FROM LOG_ZDARZEN ORDER BY ID_ZDARZENIA",
                           &r)
                  .isOk());
  ASSERT_EQ(r.size(), 2u);
  const std::vector<std::vector<std::string>> expected = {
      {"1", "5", "6100003", "5", "MAGAZYN", "1", "MAG1", "3", ""},
      {"1", "0", "6100003", "77", "KONTRAHENT", "2", label, "3", "Edycja kontaktu D'Arc Joanna"},
  };
  for (std::size_t row = 0; row < expected.size(); ++row)
    for (std::size_t col = 0; col < expected[row].size(); ++col)
      EXPECT_EQ(r.text(row, col), expected[row][col]) << "row " << row << ", column " << r.columns[col];
  EXPECT_NEAR(std::stoll(r.text(0, 9)), rt::today(), 1);
  EXPECT_NE(r.text(0, 10), r.text(1, 10));

  // A label longer than the column is cut (by characters), not lost.
  std::string longLabel;
  for (int i = 0; i < 300; ++i) longLabel += "ż";
  ASSERT_TRUE(call("call TK_ZapiszDoLogu(1,0,1,1,'X',3," + quote(longLabel) + ",3)").isOk());
  EXPECT_EQ(scalar("SELECT OPIS FROM LOG_ZDARZEN WHERE TABELA = 'X'"), sql::truncateUtf8(longLabel, 255));

  for (const char* bad : {"call TK_ZapiszDoLogu(1,0,1,1,'X',3)", "call TK_ZapiszDoLogu(1,'a',1,1,'X',3,'y',3)",
                          "call TK_ZapiszDoLogu(1,0,1,1,'',3,'y',3)"}) {
    EXPECT_FALSE(call(bad).isOk()) << bad;
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM LOG_ZDARZEN"), "3");
}

// A routine that writes with one statement runs without a transaction of its own; inside
// the caller's transaction it still keeps its failure to itself.
TEST_P(StoredRoutines, OneStatementRoutinesNeedNoTransactionOfTheirOwn) {
  sql::RoutineRegistry::instance().add(
      "TEST_JedenZapis",
      [](sql::Database& db, const std::vector<sql::Cell>& args, sql::Result*) {
        std::vector<sql::Param> p = {args.empty() || !args[0] ? std::string() : *args[0]};
        // Inside a transaction the depth shows it; outside it stays 0.
        p.emplace_back(static_cast<long long>(db.transactionDepth()));
        return db.execute("INSERT INTO TEST_ZAPISY (TEKST, GLEBOKOSC) VALUES (?, ?)", p, nullptr);
      },
      sql::RoutineRegistry::Access::OneStatement);
  exec("CREATE TABLE TEST_ZAPISY (TEKST VARCHAR(10) NOT NULL UNIQUE, GLEBOKOSC INTEGER)");
  ASSERT_TRUE(call("call TEST_JedenZapis('a')").isOk());
  EXPECT_EQ(scalar("SELECT GLEBOKOSC FROM TEST_ZAPISY WHERE TEKST = 'a'"), "0");
  EXPECT_FALSE(call("call TEST_JedenZapis('a')").isOk());  // refused by the unique key
  EXPECT_EQ(db().transactionDepth(), 0);

  {
    sql::Transaction tx(db());
    ASSERT_TRUE(tx.status().isOk());
    ASSERT_TRUE(call("call TEST_JedenZapis('b')").isOk());
    EXPECT_FALSE(call("call TEST_JedenZapis('b')").isOk());
    // The refusal did not spoil the caller's transaction.
    ASSERT_TRUE(call("call TEST_JedenZapis('c')").isOk());
    ASSERT_TRUE(tx.commit().isOk());
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TEST_ZAPISY"), "3");
  EXPECT_EQ(scalar("SELECT GLEBOKOSC FROM TEST_ZAPISY WHERE TEKST = 'c'"), "2");
}

TEST_P(StoredRoutines, NameMustBeUniqueWithinTheCompany) {
  insertRow("TABELA_ODSETEK", {{"ID_TABELI_ODSETEK", "1"}, {"ID_FIRMY", "1"}, {"NAZWA", "'Ustawowe'"}});
  insertRow("TABELA_ODSETEK", {{"ID_TABELI_ODSETEK", "2"}, {"ID_FIRMY", "1"}, {"NAZWA", quote("D'Arc")}});
  insertRow("TABELA_ODSETEK", {{"ID_TABELI_ODSETEK", "3"}, {"ID_FIRMY", "1"}, {"NAZWA", quote("Za zwłokę")}});
  struct Case {
    int company;
    std::string name;
    int ownId;
    bool unique;
  };
  const std::vector<Case> cases = {
      {1, "Ustawowe", 0, false}, {1, "Ustawowe  ", 0, false}, {1, "Ustawowe", 1, true}, {1, "Ustawowe", 2, false},
      {2, "Ustawowe", 0, true},  {1, "D'Arc", 0, false},      {1, "D'Arc", 2, true},    {1, "Nowa", 0, true},
      // letter case makes no other name, Polish letters included
      {1, "USTAWOWE", 0, false}, {1, "d'arc", 0, false},      {1, "ustawowe", 1, true},
      {1, "ZA ZWŁOKĘ", 0, false}, {1, "za zwłokę", 3, true},
  };
  for (const auto& c : cases) {
    std::string text = "call TK_CzyNazwaJestUnikalna(" + std::to_string(c.company) + "," + quote(c.name) + "," +
                       std::to_string(c.ownId) + ",'tabela_odsetek')";
    sql::Status s = call(text);
    EXPECT_EQ(s.isOk(), c.unique) << text << ": " << s.message();
    if (!c.unique) {
      EXPECT_NE(s.message().find("już"), std::string::npos) << s.message();
    }
  }
  EXPECT_FALSE(call("call TK_CzyNazwaJestUnikalna(1,'x',0,'nie_ma_takiej')").isOk());
}

class RateRoutines : public StoredRoutines {
 protected:
  void SetUp() override {
    StoredRoutines::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("INSERT INTO WALUTY (SYM_WALUTY, NAZWA, NUMER, MNOZNIK_WALUTY) VALUES ('PLN', 'złoty', 1, 1), "
         "('EUR', 'euro', 0, 1), ('HUF', 'forint', 0, 100), ('USD', 'dolar', 0, 1)");
    // NBP quotes on days 40000 and 40003, ECB on 40001.
    exec("INSERT INTO DATY_KURSOW (ID_DATY, ID_BANKU, DATA_NOT, GODZ_NOT) VALUES (1, 0, 40000, 1), (2, 0, 40003, 1), "
         "(3, -1, 40001, 1)");
    exec("INSERT INTO KURSY_WALUT (ID_DATY, SYM_WALUTY, KURS_SREDNI) VALUES (1, 'EUR', 4.30), (2, 'EUR', 4.40), "
         "(3, 'EUR', 4.35), (1, 'HUF', 1.20)");
  }
};

TEST_P(RateRoutines, RatesInForceOnADay) {
  struct Case {
    int day;
    std::string currency;
    std::string nbpDate;
    double nbpRate;
    std::string ecbDate;
    double ecbRate;
  };
  const std::vector<Case> cases = {
      {40000, "EUR", "40000", 4.30, "0", 0},         {40002, "EUR", "40000", 4.30, "40001", 4.35},
      {40003, "EUR", "40003", 4.40, "40001", 4.35},  {39999, "EUR", "0", 0, "0", 0},
      {40005, "HUF", "40000", 1.20, "0", 0},         {40005, "PLN", "40005", 1, "40005", 1},
      {40005, "GBP", "0", 0, "0", 0},                {40005, "E'R", "0", 0, "0", 0},
  };
  for (const auto& c : cases) {
    std::string text = "select * from dbo.TK_Func_PodajKursy_NBPECB (" + std::to_string(c.day) + "," +
                       quote(c.currency) + ")";
    sql::Result r;
    ASSERT_TRUE(call(text, &r).isOk()) << text;
    ASSERT_EQ(r.size(), 1u) << text;
    EXPECT_EQ(r.text(0, 1), c.nbpDate) << text;
    EXPECT_DOUBLE_EQ(std::stod(r.text(0, 2)), c.nbpRate) << text;
    EXPECT_EQ(r.text(0, 3), c.ecbDate) << text;
    EXPECT_DOUBLE_EQ(std::stod(r.text(0, 4)), c.ecbRate) << text;
  }
}

TEST_P(RateRoutines, RatesExistOnlyForTheQuotedDayAndSource) {
  struct Case {
    int day;
    int source;
    std::string exists;
  };
  const std::vector<Case> cases = {{40000, 0, "1"},  {40000, -1, "0"}, {40001, -1, "1"}, {40001, 0, "0"},
                                   {40001, -2, "1"}, {40002, -2, "0"}, {40002, 0, "0"}};
  for (const auto& c : cases) {
    std::string text = "call TK_Czy_SaKursyWalut(" + std::to_string(c.day) + "," + std::to_string(c.source) + ")";
    sql::Result r;
    ASSERT_TRUE(call(text, &r).isOk()) << text;
    EXPECT_EQ(r.scalar(), c.exists) << text;
  }
  EXPECT_FALSE(call("call TK_Czy_SaKursyWalut('dziś',0)").isOk());
}

TEST_P(RateRoutines, PricesFollowTheRateInForce) {
  exec("INSERT INTO STAWKA_VAT (KOD_VAT, STAWKA) VALUES ('23', 23), ('zw', -1)");
  insertRow("ARTYKUL", {{"ID_ARTYKULU", "1"}, {"SYM_WALUTY", "'EUR'"}, {"CENA_ZAKUPU_WAL", "10"}, {"KOD_VAT", "'23'"},
                        {"CENA_ZAKUPU", "1"}});
  insertRow("ARTYKUL", {{"ID_ARTYKULU", "2"}, {"SYM_WALUTY", "'HUF'"}, {"CENA_ZAKUPU_WAL", "1000"}, {"KOD_VAT", "'zw'"}});
  insertRow("ARTYKUL", {{"ID_ARTYKULU", "3"}, {"SYM_WALUTY", "'PLN'"}, {"CENA_ZAKUPU_WAL", "10"}, {"KOD_VAT", "'23'"},
                        {"CENA_ZAKUPU", "5"}});
  insertRow("ARTYKUL", {{"ID_ARTYKULU", "4"}, {"SYM_WALUTY", "'USD'"}, {"CENA_ZAKUPU_WAL", "10"}, {"KOD_VAT", "'23'"}});
  // Price 1 keeps a 50 % markup, price 2 was set by hand, price 3 asks for a 100 % margin.
  exec("INSERT INTO CENA_ARTYKULU (ID_CENY, ID_ARTYKULU, CENA_NETTO, CENA_BRUTTO, NARZUT) VALUES "
       "(1, 1, 0, 0, 50), (2, 1, 7, 8, NULL), (3, 1, 9, 9, 100), (1, 2, 0, 0, 25), (1, 3, 5, 5, 50), (1, 4, 3, 3, 50)");
  auto price = [&](int type, int article, const char* column) {
    return std::stod(scalar(std::string("SELECT ") + column + " FROM CENA_ARTYKULU WHERE ID_CENY = " +
                            std::to_string(type) + " AND ID_ARTYKULU = " + std::to_string(article)));
  };

  sql::Result r;
  ASSERT_TRUE(call("call TK_PrzeliczCenyArtykulow(40002,'Nie','Narzut')", &r).isOk());
  EXPECT_EQ(r.text(0, 0), "2");  // EUR and HUF; the USD article has no rate
  EXPECT_EQ(r.text(0, 1), "1");
  EXPECT_DOUBLE_EQ(std::stod(scalar("SELECT CENA_ZAKUPU FROM ARTYKUL WHERE ID_ARTYKULU = 1")), 1.0);
  EXPECT_DOUBLE_EQ(price(1, 1, "CENA_NETTO"), 64.50);   // 10 EUR x 4.30 + 50 %
  EXPECT_DOUBLE_EQ(price(1, 1, "CENA_BRUTTO"), 79.34);  // 79.335 rounded half up
  EXPECT_DOUBLE_EQ(price(2, 1, "CENA_NETTO"), 7);
  EXPECT_DOUBLE_EQ(price(3, 1, "CENA_NETTO"), 86.0);  // markup 100 %: 43 x 2
  EXPECT_DOUBLE_EQ(price(1, 2, "CENA_NETTO"), 15);         // 1000 HUF x 1.20 / 100 + 25 %
  EXPECT_DOUBLE_EQ(price(1, 2, "CENA_BRUTTO"), 15);        // exempt
  EXPECT_DOUBLE_EQ(price(1, 3, "CENA_NETTO"), 5);
  EXPECT_DOUBLE_EQ(price(1, 4, "CENA_NETTO"), 3);

  ASSERT_TRUE(call("call TK_PrzeliczCenyArtykulow(40003,'Tak','Marża')").isOk());
  EXPECT_DOUBLE_EQ(std::stod(scalar("SELECT CENA_ZAKUPU FROM ARTYKUL WHERE ID_ARTYKULU = 1")), 44.0);
  EXPECT_DOUBLE_EQ(price(1, 1, "CENA_NETTO"), 88.0);  // 44 / (1 - 50 %)
  EXPECT_DOUBLE_EQ(price(1, 1, "CENA_BRUTTO"), 108.24);
  EXPECT_DOUBLE_EQ(price(3, 1, "CENA_NETTO"), 86.0) << "a 100 % margin has no price: kept";
  EXPECT_DOUBLE_EQ(std::stod(scalar("SELECT CENA_ZAKUPU FROM ARTYKUL WHERE ID_ARTYKULU = 3")), 5.0);

  exec("UPDATE WALUTY SET NUMER = 0");
  EXPECT_FALSE(call("call TK_PrzeliczCenyArtykulow(40003,'Tak','Narzut')").isOk()) << "no base currency";
}

TEST_P(StoredRoutines, PolishLettersBecomePlainOnes) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"ąćęłńóśźż", "acelnoszz"},
      {"ĄĆĘŁŃÓŚŹŻ", "ACELNOSZZ"},
      {"Zażółć gęślą jaźń", "Zazolc gesla jazn"},
      {"O'Brien: cena 5 zł", "O'Brien: cena 5 zl"},
      {"äöü € 😀", "äöü € 😀"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(sql::withoutPolishLetters(in), out) << in;
    EXPECT_EQ(scalar("SELECT TK_Func_BezPolskichZnakow(" + quote(in) + ")"), out) << in;
    sql::Result viaRun;
    ASSERT_TRUE(call("select dbo.TK_Func_BezPolskichZnakow(" + quote(in) + ")", &viaRun).isOk()) << in;
    EXPECT_EQ(viaRun.scalar(), out) << in;
    sql::Result asRoutine;
    ASSERT_TRUE(call("select * from dbo.TK_Func_BezPolskichZnakow(" + quote(in) + ")", &asRoutine).isOk()) << in;
    EXPECT_EQ(asRoutine.scalar(), out) << in;
  }
  EXPECT_EQ(sql::withoutPolishLetters("a\xC4"), "a\xC4") << "a cut sequence is kept";
  sql::Result r;
  ASSERT_TRUE(db().execute("SELECT TK_Func_BezPolskichZnakow(NULL)", &r).isOk());
  EXPECT_TRUE(r.isNull(0, 0));
}

SLOWNIK_ON_ALL_BACKENDS(StoredRoutines);
SLOWNIK_ON_ALL_BACKENDS(RateRoutines);

}  // namespace
}  // namespace slownik
