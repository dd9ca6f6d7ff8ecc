#include <gtest/gtest.h>

#include "framework/data/globals.h"
#include "framework/runtime/error_state.h"
#include "framework/services/browser_columns.h"
#include "framework/services/program_parameters.h"
#include "framework/services/window_parameters.h"
#include "support/backends.h"

namespace slownik::svc {
namespace {

class SettingsTest : public test::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    saved_ = {data::glo().ID_UZYTKOWNIKA, data::glo().ID_FIRMY};
    workAs(7, 1);
    rt::clearError();
  }
  void TearDown() override {
    data::glo().ID_UZYTKOWNIKA = saved_.first;
    data::glo().ID_FIRMY = saved_.second;
    DatabaseTest::TearDown();
  }
  static void workAs(double user, double company) {
    data::glo().ID_UZYTKOWNIKA = user;
    data::glo().ID_FIRMY = company;
  }

 private:
  std::pair<double, double> saved_;
};

TEST_P(SettingsTest, WindowParametersPerUserInAnyLetterCase) {
  EXPECT_EQ(POBIERZPARAMETROKNA("Bank_Brw", "sortowanie"), "");  // nothing stored yet
  EXPECT_EQ(ZAPISZPARAMETROKNA("Bank_Brw", "sortowanie", "nazwa"), 0);
  EXPECT_EQ(ZAPISZPARAMETROKNA("Bank_Brw", "porządek", "malejąco"), 0);
  EXPECT_EQ(POBIERZPARAMETROKNA("Bank_Brw", "sortowanie"), "nazwa");
  EXPECT_EQ(POBIERZPARAMETROKNA("BANK_BRW", "sortowanie"), "nazwa");
  EXPECT_EQ(POBIERZPARAMETROKNA("bank_brw", "porządek"), "malejąco");
  EXPECT_EQ(POBIERZPARAMETROKNA("Bank_Brw", "split"), "");

  // Stored again in another case: one parameter, the new value.
  EXPECT_EQ(ZAPISZPARAMETROKNA("BANK_brw", "sortowanie", "SWIFT"), 0);
  EXPECT_EQ(POBIERZPARAMETROKNA("Bank_Brw", "sortowanie"), "SWIFT");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM PARAMETR_OKNA WHERE NAZWA = 'sortowanie'"), "1");

  EXPECT_EQ(ZAPISZPARAMETROKNA("Pracownik_Brw", "filtr", "nazwisko='O''Hara'"), 0);
  EXPECT_EQ(ZAPISZPARAMETROKNA("Pracownik_Brw", "O'Hara", "x'y"), 0);
  EXPECT_EQ(POBIERZPARAMETROKNA("Pracownik_Brw", "filtr"), "nazwisko='O''Hara'");
  EXPECT_EQ(POBIERZPARAMETROKNA("Pracownik_Brw", "O'Hara"), "x'y");

  workAs(8, 1);  // another user has parameters of his own
  EXPECT_EQ(POBIERZPARAMETROKNA("Bank_Brw", "sortowanie"), "");
  EXPECT_EQ(ZAPISZPARAMETROKNA("Bank_Brw", "sortowanie", "kod"), 0);
  workAs(7, 2);  // the company does not matter
  EXPECT_EQ(POBIERZPARAMETROKNA("Bank_Brw", "sortowanie"), "SWIFT");
  EXPECT_EQ(rt::errorCode(), 0) << rt::errorText();
}

TEST_P(SettingsTest, WindowParametersKeptInMemoryStayTrueToTheTable) {
  EXPECT_EQ(ZAPISZPARAMETROKNA("Bank_Brw", "sortowanie", "nazwa"), 0);
  EXPECT_EQ(POBIERZPARAMETROKNA("Bank_Brw", "sortowanie"), "nazwa");
  // Written by another part of the program, straight to the table: the next read sees it.
  exec("UPDATE PARAMETR_OKNA SET WARTOSC = 'numer' WHERE NAZWA = 'sortowanie'");
  EXPECT_EQ(POBIERZPARAMETROKNA("Bank_Brw", "sortowanie"), "numer");
  // Removed the same way: a value written back that the memory would call unchanged
  // must still reach the table.
  EXPECT_EQ(POBIERZPARAMETROKNA("Bank_Brw", "sortowanie"), "numer");
  exec("DELETE FROM PARAMETR_OKNA");
  EXPECT_EQ(ZAPISZPARAMETROKNA("Bank_Brw", "sortowanie", "numer"), 0);
  EXPECT_EQ(scalar("SELECT WARTOSC FROM PARAMETR_OKNA WHERE NAZWA = 'sortowanie'"), "numer");
  // Another user's values never come from this user's memory.
  workAs(8, 1);
  EXPECT_EQ(POBIERZPARAMETROKNA("Bank_Brw", "sortowanie"), "");
  EXPECT_EQ(ZAPISZPARAMETROKNA("Bank_Brw", "sortowanie", "numer"), 0);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM PARAMETR_OKNA WHERE NAZWA = 'sortowanie'"), "2");
  // A failed write is reported and not remembered as stored.
  exec("DROP TABLE PARAMETR_OKNA");
  EXPECT_NE(ZAPISZPARAMETROKNA("Bank_Brw", "sortowanie", "kod"), 0);
  EXPECT_EQ(POBIERZPARAMETROKNA("Bank_Brw", "sortowanie"), "");
  rt::clearError();
}

TEST_P(SettingsTest, ProgramParametersPerCompanyAndPerUser) {
  EXPECT_EQ(POBIERZPARAMKONF("s", "KIR_Katalog"), "");
  EXPECT_EQ(USTAWPARAMKONF("s", "KIR_Katalog", "/dane/kir"), 0);
  EXPECT_EQ(USTAWPARAMKONF("u", "DomFirma", "1"), 0);
  EXPECT_EQ(POBIERZPARAMKONF("s", "KIR_Katalog"), "/dane/kir");
  EXPECT_EQ(POBIERZPARAMKONF("S", "KIR_Katalog"), "/dane/kir");
  EXPECT_EQ(POBIERZPARAMKONF("u", "KIR_Katalog"), "");  // scopes do not mix
  EXPECT_EQ(POBIERZPARAMKONF("s", "DomFirma"), "");
  EXPECT_EQ(POBIERZPARAMKONF("u", "DomFirma"), "1");

  workAs(8, 1);  // same company, another user
  EXPECT_EQ(POBIERZPARAMKONF("s", "KIR_Katalog"), "/dane/kir");
  EXPECT_EQ(POBIERZPARAMKONF("u", "DomFirma"), "");

  workAs(7, 2);  // same user, another company
  EXPECT_EQ(POBIERZPARAMKONF("s", "KIR_Katalog"), "");
  EXPECT_EQ(POBIERZPARAMKONF("u", "DomFirma"), "1");
  EXPECT_EQ(USTAWPARAMKONF("s", "MiejWystFak/Rach", "Łódź"), 0);
  EXPECT_EQ(POBIERZPARAMKONF("s", "MiejWystFak/Rach"), "Łódź");

  workAs(7, 1);
  EXPECT_EQ(POBIERZPARAMKONF("s", "MiejWystFak/Rach"), "");
  EXPECT_EQ(USTAWPARAMKONF("u", "DomFirma", ""), 0);  // cleared, as after deleting a company
  EXPECT_EQ(POBIERZPARAMKONF("u", "DomFirma"), "");
  EXPECT_EQ(rt::errorCode(), 0) << rt::errorText();

  EXPECT_NE(USTAWPARAMKONF("x", "DomFirma", "1"), 0);  // unknown scope: refused, nothing stored
  EXPECT_NE(rt::errorText(), "");
  EXPECT_EQ(POBIERZPARAMKONF("x", "DomFirma"), "");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM PARAMETR_KONF WHERE ZAKRES NOT IN ('S', 'U')"), "0");
}

TEST_P(SettingsTest, ColumnLayoutPerUserAndWindow) {
  int first = -1, last = -1;
  EXPECT_EQ(POBIERZZAKRESKOLUMNBROWSERA("Pracownik_Brw", first, last), 0);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 0);

  EXPECT_EQ(USTAWKOLUMNE("Pracownik_Brw", 3, "80L(2)|M~Nazwisko~@s30@", 120), 0);
  EXPECT_EQ(USTAWKOLUMNE("Pracownik_Brw", 2, "40L(2)|M~Numer~@n6@", 40), 0);
  EXPECT_EQ(USTAWKOLUMNE("Pracownik_Brw", 11, "50L(2)|M~POLE 1~@s100@", 50), 0);
  EXPECT_EQ(USTAWKOLUMNE("Pracownik_Brw", "pole1", "50L(2)|M~'Pole'~@s100@", 0), 0);

  EXPECT_EQ(POBIERZZAKRESKOLUMNBROWSERA("PRACOWNIK_BRW", first, last), 1);
  EXPECT_EQ(first, 2);
  EXPECT_EQ(last, 11);  // compared as numbers, not as text ("11" < "2")
  EXPECT_EQ(POBIERZKOLUMNEFORMAT("pracownik_brw", 3), "80L(2)|M~Nazwisko~@s30@");
  EXPECT_EQ(POBIERZKOLUMNEROZMIAR("Pracownik_Brw", 3), 120);
  EXPECT_EQ(POBIERZKOLUMNEFORMAT("Pracownik_Brw", "pole1"), "50L(2)|M~'Pole'~@s100@");
  EXPECT_EQ(POBIERZKOLUMNEROZMIAR("Pracownik_Brw", 4), 0);  // never stored
  EXPECT_EQ(POBIERZKOLUMNEFORMAT("Pracownik_Brw", 4), "");

  EXPECT_EQ(USTAWKOLUMNE("Pracownik_Brw", 3, "90L(2)|M~Nazwisko~@s30@", 150), 0);
  EXPECT_EQ(POBIERZKOLUMNEROZMIAR("Pracownik_Brw", 3), 150);
  EXPECT_EQ(POBIERZKOLUMNEFORMAT("Pracownik_Brw", 3), "90L(2)|M~Nazwisko~@s30@");

  EXPECT_EQ(POBIERZKOLUMNEROZMIAR("Magazyn_Brw", 3), 0);  // another window
  workAs(8, 1);                                         // another user
  EXPECT_EQ(POBIERZZAKRESKOLUMNBROWSERA("Pracownik_Brw", first, last), 0);
  EXPECT_EQ(POBIERZKOLUMNEROZMIAR("Pracownik_Brw", 3), 0);
  EXPECT_EQ(rt::errorCode(), 0) << rt::errorText();
}

SLOWNIK_ON_ALL_BACKENDS(SettingsTest);

}  // namespace
}  // namespace slownik::svc
