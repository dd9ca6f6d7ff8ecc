#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/runtime/date_time.h"
#include "framework/sql/schema.h"
#include "framework/sql/seed.h"
#include "framework/sql/seed_rows.h"
#include "support/backends.h"

namespace slownik {
namespace {

const std::vector<std::string> kCountedTables = {
    "STAWKA_VAT", "KRAJE", "WOJEWODZTWO", "WALUTY", "DATY_KURSOW", "KURSY_WALUT", "FIRMA", "ADRESY_FIRMY",
    "UZYTKOWNIK", "GRUPAUZYTKOWNIKOW", "UZYTKOWNIKGRUPY", "DOSTEP", "MAGAZYN", "KASY_FIRMY", "BANKI",
    "TYP_DOKUMENTU_MAGAZYNOWEGO", "TYP_DOKUMENTU_HANDLOWEGO", "TYP_DOKUMENTU_FINANSOWEGO", "FORMA_PLATNOSCI",
    "FORMA_DOSTAWY", "VEX_SLOWNIK_STATUSOW_DOKUMENTOW", "RODZAJ_OPERACJI_FIN", "KONTRAHENT"};

class Seed : public test::DatabaseTest {
 protected:
  std::vector<std::string> counts() {
    std::vector<std::string> out;
    for (const auto& t : kCountedTables) out.push_back(scalar("SELECT COUNT(*) FROM " + t));
    return out;
  }
  void seed() {
    sql::Status s = sql::seedDemo(db());
    ASSERT_TRUE(s.isOk()) << s.message();
  }
};

TEST_P(Seed, LoadsEveryDictionaryOnceAndASecondRunChangesNothing) {
  ASSERT_NO_FATAL_FAILURE(seed());
  std::vector<std::string> first = counts();
  for (std::size_t i = 0; i < first.size(); ++i) EXPECT_NE(first[i], "0") << kCountedTables[i] << " is empty";
  ASSERT_NO_FATAL_FAILURE(seed());
  EXPECT_EQ(counts(), first);
}

TEST_P(Seed, TaxGeographyAndCurrenciesHangTogether) {
  ASSERT_NO_FATAL_FAILURE(seed());
  // The Polish rates with their codes, all active.
  for (const char* code : {"23", "8", "5", "0", "zw", "np"})
    EXPECT_EQ(scalar(std::string("SELECT AKTYWNY FROM STAWKA_VAT WHERE KOD_VAT = '") + code + "'"), "1") << code;
  EXPECT_EQ(std::stod(scalar("SELECT STAWKA FROM STAWKA_VAT WHERE KOD_VAT = '23'")), 23.0);

  for (const char* eu : {"AT", "BE", "BG", "HR", "CY", "CZ", "DK", "EE", "FI", "FR", "GR", "ES", "NL", "IE",
                         "LT", "LU", "LV", "MT", "DE", "PL", "PT", "RO", "SK", "SI", "SE", "HU", "IT"})
    EXPECT_EQ(scalar(std::string("SELECT COUNT(*) FROM KRAJE WHERE SYM_KRAJU = '") + eu + "'"), "1") << eu;
  EXPECT_GE(std::stoi(scalar("SELECT COUNT(*) FROM KRAJE")), 27 + 12);
  EXPECT_EQ(scalar("SELECT NAZWA FROM KRAJE WHERE SYM_KRAJU = 'PL'"), "Polska");

  EXPECT_EQ(scalar("SELECT COUNT(DISTINCT WOJEWODZTWO) FROM WOJEWODZTWO"), "16");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WOJEWODZTWO WHERE WOJEWODZTWO = 'świętokrzyskie'"), "1");

  // One base currency, PLN; every currency's country exists; every rate row belongs to
  // a rate table and a currency; no rate for the base currency itself.
  EXPECT_EQ(scalar("SELECT SYM_WALUTY FROM WALUTY WHERE NUMER = 1"), "PLN");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WALUTY WHERE NUMER = 1"), "1");
  for (const char* symbol : {"EUR", "USD", "GBP", "CHF", "CZK"})
    EXPECT_EQ(scalar(std::string("SELECT COUNT(*) FROM WALUTY WHERE SYM_WALUTY = '") + symbol + "'"), "1") << symbol;
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WALUTY w WHERE NOT EXISTS (SELECT 1 FROM KRAJE k WHERE k.SYM_KRAJU = w.SYM_KRAJU)"),
            "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WALUTY WHERE MNOZNIK_WALUTY IS NULL OR MNOZNIK_WALUTY <= 0"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT r WHERE NOT EXISTS (SELECT 1 FROM DATY_KURSOW d WHERE d.ID_DATY = "
                   "r.ID_DATY) OR NOT EXISTS (SELECT 1 FROM WALUTY w WHERE w.SYM_WALUTY = r.SYM_WALUTY)"),
            "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT WHERE SYM_WALUTY = 'PLN'"), "0");
  EXPECT_GE(std::stoi(scalar("SELECT COUNT(*) FROM DATY_KURSOW WHERE ID_BANKU = 0")), 2);
  // Every table quotes every foreign currency, buying below and selling above the average.
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT"),
            std::to_string(std::stoi(scalar("SELECT COUNT(*) FROM DATY_KURSOW")) *
                           (std::stoi(scalar("SELECT COUNT(*) FROM WALUTY")) - 1)));
  const std::string ofBank = " AND ID_DATY IN (SELECT ID_DATY FROM DATY_KURSOW WHERE ID_BANKU = ";
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT WHERE NOT (KURS_ZAKUPU < KURS_SREDNI AND KURS_SREDNI < "
                   "KURS_SPRZEDAZY)" + ofBank + "0)"),
            "0");
  // The euro's central bank publishes averages only, as its downloads store them.
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT WHERE NOT (KURS_ZAKUPU = 0 AND KURS_SPRZEDAZY = 0 AND "
                   "KURS_SREDNI > 0)" + ofBank + "-1)"),
            "0");
  // Both banks' last tables are of the last working day before the database was made,
  // so that a new user sees rates for today; never of a weekend or of today itself.
  std::int32_t lastWorkingDay = rt::today() - 1;
  while (rt::dayOfWeek(lastWorkingDay) == 0 || rt::dayOfWeek(lastWorkingDay) == 6) --lastWorkingDay;
  for (const char* bank : {"0", "-1"}) {
    const std::string last = scalar(std::string("SELECT MAX(DATA_NOT) FROM DATY_KURSOW WHERE ID_BANKU = ") + bank);
    // Public holidays aside, which move the table a few days back.
    EXPECT_LE(std::stoi(last), lastWorkingDay) << "bank " << bank;
    EXPECT_GE(std::stoi(last), lastWorkingDay - 6) << "bank " << bank;
    EXPECT_LT(std::stoi(last), rt::today()) << "bank " << bank;
    EXPECT_NE(rt::dayOfWeek(std::stoi(last)), 0);
    EXPECT_NE(rt::dayOfWeek(std::stoi(last)), 6);
  }
  const std::string lastNbp = scalar("SELECT MAX(DATA_NOT) FROM DATY_KURSOW WHERE ID_BANKU = 0");
  const std::string number = scalar("SELECT NR_TABELI FROM DATY_KURSOW WHERE ID_BANKU = 0 AND DATA_NOT = " + lastNbp);
  ASSERT_EQ(number.size(), 14u) << number;
  EXPECT_EQ(number.substr(3), "/A/NBP/" + std::to_string(rt::civilDate(std::stoi(lastNbp))->year)) << number;
  // Dates are day numbers: 2 January 2024 is 36163 + 124 * 365 + 30 leap days + 1.
  EXPECT_EQ(scalar("SELECT MIN(DATA_NOT) FROM DATY_KURSOW"), "81454");
}

TEST_P(Seed, UsersGroupsAndRightsAnswerTheModulesQueries) {
  ASSERT_NO_FATAL_FAILURE(seed());
  EXPECT_EQ(scalar("SELECT IDENTYFIKATOR FROM UZYTKOWNIK WHERE ID_UZYTKOWNIKA = 6100003"), "Admin");
  EXPECT_EQ(scalar("SELECT NAZWA FROM UZYTKOWNIK WHERE ID_UZYTKOWNIKA = " + std::to_string(sql::demo::kUserId)),
            "Jan Kowalski");

  // The company list: member of some group of the company, holds "EDanePodm", some right at all.
  auto inGroups = [&](long long user) {
    return scalar("select count(*) from uzytkownikgrupy u, grupauzytkownikow g where g.id_firmy=1 and "
                  "g.id_grupy=u.id_grupy and u.id_uzytkownika=" + std::to_string(user));
  };
  auto editsCompany = [&](long long user) {
    return scalar("select count(*) from DOSTEP d inner join UZYTKOWNIKGRUPY u on (d.id_grupy=u.id_grupy) where "
                  "d.kod='EDanePodm' and d.id_firmy=1 and d.rodzaj_dostepu>0 and u.id_uzytkownika=" +
                  std::to_string(user));
  };
  EXPECT_EQ(inGroups(sql::demo::kAdminUserId), "1");
  EXPECT_EQ(inGroups(sql::demo::kUserId), "1");
  EXPECT_EQ(editsCompany(sql::demo::kAdminUserId), "1");
  EXPECT_EQ(editsCompany(sql::demo::kUserId), "0");
  EXPECT_NE(scalar("select count(*) from DOSTEP where kod='SYS' and id_firmy=1 and rodzaj_dostepu>0"), "0");
  EXPECT_EQ(scalar("select count(*) from grupauzytkownikow where id_firmy=1 and nazwa='Administratorzy'"), "1");

  // Rights given for one object: the seller works in the main warehouse and cash desk only.
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DOSTEP WHERE ID_GRUPY = 2 AND KOD = 'OKasy' AND ID_OBIEKTU = 1"), "1");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DOSTEP WHERE ID_GRUPY = 2 AND KOD = 'OKasy' AND ID_OBIEKTU = 2"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DOSTEP WHERE ID_GRUPY = 2 AND KOD = 'UBanki'"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM DOSTEP WHERE ID_GRUPY = 1 AND KOD = 'UBanki'"), "1");
}

TEST_P(Seed, CompanyWarehousesAndDocumentSettings) {
  ASSERT_NO_FATAL_FAILURE(seed());
  // The company's default address is its seat address, and its default account is its own.
  EXPECT_EQ(scalar("SELECT a.TYP_ADRESU FROM FIRMA f, ADRESY_FIRMY a WHERE a.ID_ADRESY_FIRMY = f.ID_ADRESU_DOMYSLNEGO "
                   "AND a.ID_FIRMY = f.ID_FIRMY AND f.ID_FIRMY = 1"),
            "S");
  EXPECT_EQ(scalar("SELECT r.SYM_WALUTY FROM FIRMA f, RACHUNEK_FIRMY r WHERE r.ID_RACHUNKU = f.ID_RACHUNKU AND "
                   "r.ID_FIRMY = f.ID_FIRMY"),
            "PLN");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM MAGAZYN WHERE ID_FIRMY = 1 AND STAN_MAGAZYNU = 'Praca'"), "2");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM BANKI WHERE SEMAFOR <> 0"), "0");
  EXPECT_EQ(scalar("SELECT NAZWA FROM KONTRAHENT WHERE NAZWA = 'O''Neill Polska'"), "O'Neill Polska");

  // System document types of the three families.
  for (const char* sig : {"PZ ", "WZ ", "MP ", "MW "})
    EXPECT_EQ(scalar(std::string("SELECT CZY_SYSTEMOWY FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE SYGNATURA = '") + sig +
                     "'"),
              "1")
        << sig;
  for (const char* sig : {"FV", "PA", "FZ"})
    EXPECT_EQ(scalar(std::string("SELECT COUNT(*) FROM TYP_DOKUMENTU_HANDLOWEGO WHERE SYGNATURA = '") + sig + "'"), "1")
        << sig;
  for (const char* sig : {"KP", "KW"})
    EXPECT_EQ(scalar(std::string("SELECT COUNT(*) FROM TYP_DOKUMENTU_FINANSOWEGO WHERE SYGNATURA = '") + sig + "'"), "1")
        << sig;
  // The default operation of every financial type exists; every warehouse signature is 3 wide.
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TYP_DOKUMENTU_FINANSOWEGO t WHERE NOT EXISTS (SELECT 1 FROM "
                   "RODZAJ_OPERACJI_FIN r WHERE r.KOD_OPERACJI = t.KOD_OPERACJI_DOM)"),
            "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM TYP_DOKUMENTU_MAGAZYNOWEGO WHERE LENGTH(SYGNATURA) <> 3"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FORMA_PLATNOSCI WHERE NAZWA IN ('gotówka', 'przelew')"), "2");
  for (const char* code : {"N", "C", "Z", "Y", "A"})
    EXPECT_EQ(scalar(std::string("SELECT SYSTEMOWY FROM VEX_SLOWNIK_STATUSOW_DOKUMENTOW WHERE TYP_DOKUMENTU = 'Z' AND "
                                 "KOD_STATUSU = '") +
                     code + "'"),
              "1")
        << code;
}

TEST_P(Seed, LeavesADatabaseWithDataAlone) {
  exec("INSERT INTO WALUTY (SYM_WALUTY, NAZWA, NUMER, MNOZNIK_WALUTY) VALUES ('PLN', 'Złoty', 1, 1)");
  ASSERT_NO_FATAL_FAILURE(seed());
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WALUTY"), "1");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM UZYTKOWNIK"), "0");
}

TEST_P(Seed, AFailureLeavesNothingBehind) {
  // A bank row that the checks for data do not look at collides with the demo's first bank.
  exec("INSERT INTO BANKI (ID_BANKU, NAZWA) VALUES (1, 'Bank istniejący')");
  sql::Status s = sql::seedDemo(db());
  EXPECT_FALSE(s.isOk());
  EXPECT_NE(s.message().find("BANKI"), std::string::npos) << s.message();
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM WALUTY"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KRAJE"), "0");
  EXPECT_EQ(db().transactionDepth(), 0);
}

TEST_P(Seed, RowWriterRefusesValuesThatAreNotValues) {
  using namespace sql::seed;
  struct Case {
    Value value;
    bool accepted;
  };
  const std::vector<Case> cases = {
      {text("O'Brien; DROP TABLE KRAJE"), true}, {dec("12.50"), true},         {dec("-0.5"), true},
      {dec(4.34346, 4), true},                    {num(-7), true},              {null(), true},
      {dec("1; DROP TABLE KRAJE"), false},        {dec("1.2.3"), false},        {dec(""), false},
      {dec("12."), false},                        {dec("1e5"), false},
  };
  int symbol = 0;
  for (const auto& c : cases) {
    std::string sym = "Q" + std::to_string(symbol++);
    sql::Status s = insertRows(db(), "WALUTY", {"SYM_WALUTY", "NAZWA"}, {{text(sym), c.value}});
    EXPECT_EQ(s.isOk(), c.accepted) << c.value.sql << " " << s.message();
  }
  EXPECT_EQ(scalar("SELECT NAZWA FROM WALUTY WHERE SYM_WALUTY = 'Q0'"), "O'Brien; DROP TABLE KRAJE");
  EXPECT_EQ(scalar("SELECT NAZWA FROM WALUTY WHERE SYM_WALUTY = 'Q3'"), "4.3435");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KRAJE"), "0");
  EXPECT_FALSE(insertRows(db(), "WALUTY", {"SYM_WALUTY", "NAZWA"}, {{text("Q99")}}).isOk()) << "too few values";
}

SLOWNIK_ON_ALL_BACKENDS(Seed);

// A database that has never been migrated gets its schema from the seed.
class SeedOnEmptyDatabase : public test::DatabaseTest {
 protected:
  bool wantsSchema() const override { return false; }
};

TEST_P(SeedOnEmptyDatabase, MigratesFirst) {
  EXPECT_EQ(sql::schemaVersion(db()), 0);
  sql::Status s = sql::seedDemo(db());
  ASSERT_TRUE(s.isOk()) << s.message();
  EXPECT_GE(sql::schemaVersion(db()), 1);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM UZYTKOWNIK WHERE ID_UZYTKOWNIKA = 6100003"), "1");
}

SLOWNIK_ON_ALL_BACKENDS(SeedOnEmptyDatabase);

}  // namespace
}  // namespace slownik
