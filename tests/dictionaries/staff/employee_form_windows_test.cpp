// The employee form, its address form and the user picker played through the headless
// front-end, checked against the database.
#include "employee_windows.h"
#include "framework/runtime/keys.h"
#include "framework/services/classifiers.h"

namespace slownik::staff::test {
namespace {

class EmployeeFormTest : public EmployeeWindowTest {
 protected:
  //! The list open and the insert form on it.
  std::shared_ptr<rt::Window> insertForm() {
    list_ = openList();
    if (!list_) return nullptr;
    EXPECT_TRUE(fe().press(list_, rt::key::Ins));
    return form("Dodawanie pracownika");
  }
  //! Presses Zapisz and expects the form to stay open with the focus on `control`.
  void refusedAt(const std::shared_ptr<rt::Window>& f, const std::string& control) {
    ASSERT_TRUE(fe().click(f, "?OK"));
    ASSERT_TRUE(fe().settle(f));
    EXPECT_FALSE(f->isClosed());
    EXPECT_EQ(f->focus(), control);
    EXPECT_EQ(employeeCount(), 3);
  }
  std::string reservedId() { return scalar("SELECT ID FROM REZERWACJA_ID WHERE TABELA = 'PRACOWNIK'"); }

  std::shared_ptr<rt::Window> list_;
};

TEST_P(EmployeeFormTest, TheSaveChecksGoInOrderAndTheQuestionsLetTheUserKeepAWrongNumber) {
  auto f = insertForm();
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?PRA:PLEC"), "Mężczyzna");
  EXPECT_EQ(f->value("?UZYTKOWNIK"), "0");
  EXPECT_FALSE(f->control("?UZYTKOWNIK:WYBIERZ")->enabled);

  fe().expectMessage(rt::button::Ok, "Proszę wprowadzić numer ewidencyjny.");
  refusedAt(f, "?PRA:NR_EWIDENCYJNY");
  ASSERT_TRUE(fe().type(f, "?PRA:NR_EWIDENCYJNY", "P/003"));
  fe().expectMessage(rt::button::Ok, "Pracownik o wprowadzonym numerze ewidencyjnym już istnieje!|Proszę zmienić numer.");
  refusedAt(f, "?PRA:NR_EWIDENCYJNY");
  ASSERT_TRUE(fe().type(f, "?PRA:NR_EWIDENCYJNY", "P/'10"));
  fe().expectMessage(rt::button::Ok, "Proszę wprowadzić nazwisko.");
  refusedAt(f, "?PRA:NAZWISKO");
  ASSERT_TRUE(fe().type(f, "?PRA:NAZWISKO", "D'Arc"));

  ASSERT_TRUE(fe().type(f, "?PRA:PESEL", "90010112346"));  // a wrong check digit
  fe().expectMessage(rt::button::No, "Numer PESEL jest niepoprawny!|Czy zapisać dane pracownika?");
  refusedAt(f, "?PRA:PESEL");
  ASSERT_TRUE(fe().type(f, "?PRA:NIP", "123-456-32-19"));
  fe().expectMessage(rt::button::Yes, "Numer PESEL jest niepoprawny!");
  fe().expectMessage(rt::button::No, "Numer NIP jest niepoprawny.|Czy zapisać dane pracownika?");
  refusedAt(f, "?PRA:NIP");

  // A right tax number another employee has: the database says whose it is.
  ASSERT_TRUE(fe().type(f, "?PRA:NIP", "123-456-32-18"));
  fe().expectMessage(rt::button::Yes, "Numer PESEL jest niepoprawny!");
  fe().expectMessage(rt::button::No, "Numer NIP 123-456-32-18 jest już wpisany u pracownika: Nowak Piotr.|Czy zapisać");
  refusedAt(f, "?PRA:NIP");
  EXPECT_EQ(fe().messages().back().title, "TRAMEL: Pytanie");
  EXPECT_EQ(fe().messages().back().defaultButton, rt::button::No);

  fe().expectMessage(rt::button::Yes, "Numer PESEL jest niepoprawny!");
  fe().expectMessage(rt::button::Yes, "jest już wpisany u pracownika: Nowak Piotr.");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(list_));
  EXPECT_EQ(scalar("SELECT NAZWISKO FROM PRACOWNIK WHERE NR_EWIDENCYJNY = 'P/''10'"), "D'Arc");
  EXPECT_EQ(scalar("SELECT ARCHIWUM FROM PRACOWNIK WHERE NR_EWIDENCYJNY = 'P/''10'"), "1");
  EXPECT_EQ(scalar("SELECT ID_FIRMY FROM PRACOWNIK WHERE NR_EWIDENCYJNY = 'P/''10'"), "1");
}

TEST_P(EmployeeFormTest, ARequiredClassifierIsAskedForFirstAndSavedWithTheEmployee) {
  std::vector<svc::ClassifierDefinition> defs(svc::kClassifierCount);
  for (int i = 0; i < svc::kClassifierCount; ++i) defs[i].number = i + 1;
  defs[1] = {2, "Stanowisko", true, false, {}};
  ASSERT_TRUE(svc::saveClassifierDefinitions("Pracownik", defs).isOk());
  exec("INSERT INTO KLASYFIKATOR_WARTOSC (RODZAJ, ID_REKORDU, NUMER, WARTOSC) VALUES ('Pracownik', 3, 2, 'Magazynier')");
  auto value = [this](const std::string& employee) {
    return scalar("SELECT COALESCE(MAX(WARTOSC), '') FROM KLASYFIKATOR_WARTOSC WHERE RODZAJ = 'Pracownik' AND "
                  "NUMER = 2 AND ID_REKORDU = " + employee);
  };

  // Asked before anything else, even before the missing number.
  auto f = insertForm();
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Ok, "Proszę uzupełnić wymagane pole dodatkowe \"Stanowisko\".");
  ASSERT_TRUE(fe().click(f, "?OK"));
  auto values = form("Pola dodatkowe");
  ASSERT_TRUE(values);
  ASSERT_TRUE(fe().type(values, "?KLAS2", "Kierowca"));
  ASSERT_TRUE(fe().press(values, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(values));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_FALSE(f->isClosed()) << "the save stopped; the user saves again";
  EXPECT_EQ(employeeCount(), 3);
  ASSERT_TRUE(fe().type(f, "?PRA:NR_EWIDENCYJNY", "P/020"));
  ASSERT_TRUE(fe().type(f, "?PRA:NAZWISKO", "Kos"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(list_));
  EXPECT_EQ(value(scalar("SELECT ID_PRACOWNIKA FROM PRACOWNIK WHERE NR_EWIDENCYJNY = 'P/020'")), "Kierowca");

  // Another employee's form shows that employee's value; cancelling the form keeps it.
  ASSERT_TRUE(fe().clickRow(list_, "?LIST", 3));
  ASSERT_EQ(ids(list_)[2], "3");
  ASSERT_TRUE(fe().press(list_, rt::key::F2));
  f = form("Edycja pracownika");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().press(f, rt::key::CtrlMod + rt::key::letter('P')));
  values = form("Pola dodatkowe");
  ASSERT_TRUE(values);
  EXPECT_EQ(values->value("?KLAS2"), "Magazynier");
  ASSERT_TRUE(fe().type(values, "?KLAS2", "Brygadzista"));
  ASSERT_TRUE(fe().press(values, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(values));
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(list_));
  EXPECT_EQ(value("3"), "Magazynier");
}

TEST_P(EmployeeFormTest, AChangeWhoseLockWasTakenOverWritesNothingAndNamesTheHolder) {
  list_ = openList();
  ASSERT_TRUE(list_);
  ASSERT_TRUE(fe().clickRow(list_, "?LIST", 3));
  ASSERT_TRUE(fe().press(list_, rt::key::F2));
  auto f = form("Edycja pracownika");
  ASSERT_TRUE(f);
  // The administrator clears the form's lock and Jan's program takes it.
  ASSERT_TRUE(db().run("select * from TKW_KartotekaSemaforZdejmij('pracownik',3," + sql::sqlId(kAdmin) + ")").isOk());
  ASSERT_TRUE(db().run("call TKW_KartotekaSemaforUstaw('pracownik',3," + sql::sqlId(kJan) + ",2)").isOk());
  ASSERT_TRUE(fe().type(f, "?PRA:TELEFON", "999"));
  fe().expectMessage(rt::button::Ok, "Blokada rekordu została zdjęta albo przejęta, zmian nie zapisano.|Edytuje: Jan");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForMessages(1));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_FALSE(f->isClosed());
  EXPECT_EQ(scalar("SELECT COALESCE(TELEFON, '') FROM PRACOWNIK WHERE ID_PRACOWNIKA = 3"), "") << "nothing written";
  EXPECT_EQ(employee(3, "SEMAFOR"), sql::sqlId(kJan));
}

TEST_P(EmployeeFormTest, APersonnelNumberOfAnotherCompanyIsFree) {
  exec("INSERT INTO PRACOWNIK (ID_PRACOWNIKA, ID_FIRMY, NR_EWIDENCYJNY, NAZWISKO, ARCHIWUM) "
       "VALUES (9, 2, 'P/777', 'Zieliński', 1)");
  auto f = insertForm();
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?PRA:NR_EWIDENCYJNY", "P/777"));
  ASSERT_TRUE(fe().type(f, "?PRA:NAZWISKO", "Zielińska"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM PRACOWNIK WHERE NR_EWIDENCYJNY = 'P/777'"), "2");
}

TEST_P(EmployeeFormTest, ASystemUserIsLinkedToOneEmployeeOnly) {
  auto f = insertForm();
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?PRA:NR_EWIDENCYJNY", "P/010"));
  ASSERT_TRUE(fe().type(f, "?PRA:NAZWISKO", "Lis"));
  ASSERT_TRUE(fe().click(f, "?UZYTKOWNIK"));
  EXPECT_TRUE(f->control("?UZYTKOWNIK:WYBIERZ")->enabled);
  ASSERT_TRUE(fe().click(f, "?UZYTKOWNIK:WYBIERZ"));
  auto picker = form("Użytkownicy systemu");
  ASSERT_TRUE(picker);
  const int jan = rowOf(picker, 0, "Jan Kowalski");
  ASSERT_GT(jan, 0);
  ASSERT_TRUE(fe().clickRow(picker, "?LIST", jan));
  ASSERT_TRUE(fe().press(picker, rt::key::Enter));
  ASSERT_TRUE(fe().waitForClose(picker));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->value("?UZY:NAZWA"), "Jan Kowalski");
  fe().expectMessage(rt::button::Ok, "Użytkownik Jan Kowalski jest już skojarzony z innym pracownikiem!");
  refusedAt(f, "?UZYTKOWNIK:WYBIERZ");

  // Another user is free; unticking forgets the user altogether.
  ASSERT_TRUE(fe().click(f, "?UZYTKOWNIK:WYBIERZ"));
  picker = form("Użytkownicy systemu");
  ASSERT_TRUE(picker);
  ASSERT_TRUE(fe().clickRow(picker, "?LIST", rowOf(picker, 0, "Administrator systemu")));
  ASSERT_TRUE(fe().press(picker, rt::key::Enter));
  ASSERT_TRUE(fe().waitForClose(picker));
  ASSERT_TRUE(fe().settle(f));
  ASSERT_TRUE(fe().click(f, "?UZYTKOWNIK"));
  EXPECT_EQ(f->value("?UZY:NAZWA"), "");
  EXPECT_FALSE(f->control("?UZYTKOWNIK:WYBIERZ")->enabled);
  ASSERT_TRUE(fe().click(f, "?UZYTKOWNIK"));
  ASSERT_TRUE(fe().click(f, "?UZYTKOWNIK:WYBIERZ"));
  picker = form("Użytkownicy systemu");
  ASSERT_TRUE(picker);
  ASSERT_TRUE(fe().clickRow(picker, "?LIST", rowOf(picker, 0, "Administrator systemu")));
  ASSERT_TRUE(fe().press(picker, rt::key::Enter));
  ASSERT_TRUE(fe().waitForClose(picker));
  ASSERT_TRUE(fe().settle(f));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT ID_UZYTKOWNIKA FROM PRACOWNIK WHERE NR_EWIDENCYJNY = 'P/010'"), sql::sqlId(kAdmin));
}

TEST_P(EmployeeFormTest, AddressesAndAccountsOfANewEmployeeStayWithItOrGoWithIt) {
  auto f = insertForm();
  ASSERT_TRUE(f);
  std::string given = reservedId();
  ASSERT_FALSE(given.empty());
  ASSERT_TRUE(fe().click(f, "?INSERT:ADRES"));
  auto a = form("Dodawanie adresu");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->value("?ADRPRA:SYM_KRAJU"), "PL");
  ASSERT_TRUE(fe().type(a, "?ADRPRA:MIEJSCOWOSC", "Łódź"));
  ASSERT_TRUE(fe().click(a, "?OK"));
  ASSERT_TRUE(fe().waitForClose(a));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ADRESY_PRACOWNIKA WHERE TYP_ADRESU = 'M' AND ID_PRACOWNIKA = " + given), "1");
  EXPECT_EQ(f->control("?LIST:ADRESY")->rows.size(), 1u);
  // A second address on the same day is refused.
  ASSERT_TRUE(fe().click(f, "?INSERT:ADRES"));
  a = form("Dodawanie adresu");
  ASSERT_TRUE(a);
  fe().expectMessage(rt::button::Ok, "Proszę zmienić datę obowiązywania adresu!.|Adres o podanej dacie został już wprowadzony.");
  ASSERT_TRUE(fe().click(a, "?OK"));
  ASSERT_TRUE(fe().settle(a));
  EXPECT_EQ(a->focus(), "?ADRPRA:DATA_OD");
  ASSERT_TRUE(fe().type(a, "?ADRPRA:SYM_KRAJU", ""));
  ASSERT_TRUE(fe().type(a, "?ADRPRA:DATA_OD", "01.01.2020"));
  fe().expectMessage(rt::button::Ok, "Musisz wybrać symbol kraju!");
  ASSERT_TRUE(fe().click(a, "?OK"));
  ASSERT_TRUE(fe().settle(a));
  ASSERT_TRUE(fe().press(a, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(a));
  // An account as the employee's account list writes it.
  exec("INSERT INTO RACHUNEK_PRACOWNIKA (ID_RACHUNKU, ID_PRACOWNIKA, NUMER_RACHUNKU) VALUES (901, " + given +
       ", 'PL61109010140000071219812874')");

  // Cancelled: the address and the account go with the employee that never was.
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(list_));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ADRESY_PRACOWNIKA WHERE ID_PRACOWNIKA = " + given), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM RACHUNEK_PRACOWNIKA WHERE ID_PRACOWNIKA = " + given), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM REZERWACJA_ID"), "0");

  // Saved: the employee gets the id its address was written under.
  ASSERT_TRUE(fe().press(list_, rt::key::Ins));
  f = form("Dodawanie pracownika");
  ASSERT_TRUE(f);
  given = reservedId();
  ASSERT_TRUE(fe().click(f, "?INSERT:ADRES"));
  a = form("Dodawanie adresu");
  ASSERT_TRUE(a);
  ASSERT_TRUE(fe().type(a, "?ADRPRA:ULICA", "Piotrkowska 1"));
  ASSERT_TRUE(fe().click(a, "?OK"));
  ASSERT_TRUE(fe().waitForClose(a));
  ASSERT_TRUE(fe().type(f, "?PRA:NR_EWIDENCYJNY", "P/020"));
  ASSERT_TRUE(fe().type(f, "?PRA:NAZWISKO", "Wiśniewska"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT ID_PRACOWNIKA FROM PRACOWNIK WHERE NR_EWIDENCYJNY = 'P/020'"), given);
  EXPECT_EQ(scalar("SELECT ULICA FROM ADRESY_PRACOWNIKA WHERE ID_PRACOWNIKA = " + given), "Piotrkowska 1");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM REZERWACJA_ID"), "0");
}

TEST_P(EmployeeFormTest, TheAddressListAsksForTheRightToChangeTheEmployee) {
  asUser(sql::demo::kUserId);
  grant({"EPrac"});  // the ordinary user may open and look at employees already
  exec("INSERT INTO ADRESY_PRACOWNIKA (ID_ADRESY_PRAC, ID_PRACOWNIKA, TYP_ADRESU, DATA_OD, SYM_KRAJU, MIEJSCOWOSC) "
       "VALUES (1, 3, 'M', 40000, 'PL', 'Kraków'), (2, 3, 'K', 40000, 'PL', 'Gdańsk')");
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 3));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = form("Edycja pracownika");
  ASSERT_TRUE(f);
  // Only the residence address is the form's.
  ASSERT_EQ(f->control("?LIST:ADRESY")->rows.size(), 1u);
  ASSERT_TRUE(fe().click(f, "?CHANGE:ADRES"));
  auto a = form("Edycja adresu");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->value("?ADRPRA:MIEJSCOWOSC"), "Kraków");
  ASSERT_TRUE(fe().press(a, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(a));
  // The right taken away while the form is open.
  exec("DELETE FROM DOSTEP WHERE KOD = 'EPrac'");
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na modyfikację danych pracownika!");
  ASSERT_TRUE(fe().click(f, "?INSERT:ADRES"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ADRESY_PRACOWNIKA"), "2");
}

}  // namespace

SLOWNIK_ON_ALL_BACKENDS(EmployeeFormTest);

}  // namespace slownik::staff::test
