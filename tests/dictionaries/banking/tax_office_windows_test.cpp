// The tax-office list and form played through the headless front-end, checked against
// the database.
#include "bank_windows.h"
#include "dictionaries/banking/tax_office_list.h"
#include "framework/data/file_manager.h"
#include "framework/sql/text.h"
#include "framework/runtime/keys.h"

namespace slownik::banking::test {
namespace {

constexpr int kOfficeId = 4 * kColumnFields + 3;  // after the four columns: SEMAFOR, FLAGA_STANU, ID
const std::string kBaluty = "Urząd Skarbowy Łódź-Bałuty";

class TaxOfficeWindowTest : public BankWindowTest {
 protected:
  std::shared_ptr<rt::Window> openOffices(int request = data::kNoRequest) {
    outcome_ = startListOf(URZEDY_BRW, "URZ:ID_URZEDU", request);
    auto w = fe().waitForWindow("Lista urzędów");
    EXPECT_TRUE(w) << "the office list did not open";
    return w;
  }
  std::shared_ptr<rt::Window> form(const std::string& title) {
    auto f = fe().waitForWindow(title);
    EXPECT_TRUE(f) << title;
    return f;
  }
  std::string office(int id, const std::string& column) {
    return scalar("SELECT " + column + " FROM URZEDY WHERE ID_URZEDU = " + std::to_string(id));
  }
  int officeCount() { return std::stoi(scalar("SELECT COUNT(*) FROM URZEDY")); }
  void grant(std::initializer_list<const char*> rights) {
    for (const char* right : rights) WindowFixture::grant(right);
  }
};

TEST_P(TaxOfficeWindowTest, SortOrdersComeFromTheDropListWithTheSortedColumnInBold) {
  auto w = openOffices();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?SORTOWANIE"), "nazwa");
  EXPECT_EQ(columnOf(w, kOfficeId), (std::vector<std::string>{"2", "1", "3"}));
  auto styles = w->control("?LIST")->styles;
  EXPECT_EQ(styles[1].fontWeight, rt::kBoldWeight);
  EXPECT_EQ(styles[2].fontWeight, rt::kNormalWeight);

  ASSERT_TRUE(fe().choose(w, "?SORTOWANIE", "kod"));
  EXPECT_EQ(columnOf(w, valueField(3)), (std::vector<std::string>{"31-134", "90-950", "91-473"}));
  EXPECT_EQ(w->control("?LIST")->styles[3].fontWeight, rt::kBoldWeight);
  EXPECT_EQ(w->control("?LIST")->styles[1].fontWeight, rt::kNormalWeight);
  ASSERT_TRUE(fe().type(w, "?LOKATOR", "9"));
  auto list = w->control("?LIST");
  ASSERT_TRUE(list);
  ASSERT_GT(list->selection, 0);
  ASSERT_LE(static_cast<std::size_t>(list->selection), list->rows.size());
  EXPECT_EQ(list->rows[static_cast<std::size_t>(list->selection - 1)].at(kOfficeId - 1), "3");

  // The locator's text belongs to the old order: a new order starts without it.
  ASSERT_TRUE(fe().choose(w, "?SORTOWANIE", "miasto"));
  EXPECT_EQ(w->value("?LOKATOR"), "");
  EXPECT_EQ(columnOf(w, valueField(2)), (std::vector<std::string>{"Kraków", "Łódź", "Łódź"}));
  EXPECT_EQ(w->control("?LIST")->styles[2].fontWeight, rt::kBoldWeight);
  ASSERT_TRUE(fe().close(w));
  join();

  // The choice is not kept: the next opening sorts by name again.
  w = openOffices();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?SORTOWANIE"), "nazwa");
  EXPECT_EQ(columnOf(w, kOfficeId), (std::vector<std::string>{"2", "1", "3"}));
}

TEST_P(TaxOfficeWindowTest, ANameMayNotBeTakenFromAnotherOffice) {
  auto w = openOffices();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));  // Kraków-Krowodrza
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = form("Edycja urzędu");
  ASSERT_TRUE(f);
  EXPECT_EQ(office(2, "SEMAFOR"), "6100003") << "the form holds the lock";
  ASSERT_TRUE(fe().type(f, "?URZ:NAZWA", "urząd skarbowy łódź-bałuty"));
  fe().expectMessage(rt::button::Ok, "Uwaga!|urząd skarbowy łódź-bałuty już istnieje w kartotece! Proszę poprawić nazwę.");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(fe().messages().back().title, "TRAMEL: Ostrzeżenie");
  EXPECT_EQ(f->focus(), "?URZ:NAZWA");
  EXPECT_EQ(office(2, "NAZWA"), "Urząd Skarbowy Kraków-Krowodrza");

  // Its own name in other letters, or with an apostrophe, is its own.
  ASSERT_TRUE(fe().type(f, "?URZ:NAZWA", "URZĄD SKARBOWY KRAKÓW-KROWODRZA"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(office(2, "NAZWA"), "URZĄD SKARBOWY KRAKÓW-KROWODRZA");
  EXPECT_EQ(office(2, "SEMAFOR"), "0") << "the lock is released after the form";

  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  f = form("Edycja urzędu");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?URZ:NAZWA", "Urząd Skarbowy O'Brien"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(office(2, "NAZWA"), "Urząd Skarbowy O'Brien");
}

TEST_P(TaxOfficeWindowTest, InsertStartsAsATaxOfficeAndTakesTheChosenKind) {
  auto w = openOffices();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = form("Dodawanie urzędu");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?URZ:TYP_URZEDU"), "US");
  EXPECT_EQ(f->value("?URZ:NAZWA"), "");
  ASSERT_TRUE(fe().type(f, "?URZ:NAZWA", "ZUS Oddział w Krakowie"));
  ASSERT_TRUE(fe().click(f, "?URZ:TYP_URZEDU:ZUS"));
  ASSERT_TRUE(fe().type(f, "?URZ:MIEJSCOWOSC", "Kraków"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(officeCount(), 4);
  EXPECT_EQ(scalar("SELECT TYP_URZEDU FROM URZEDY WHERE NAZWA = 'ZUS Oddział w Krakowie'"), "ZUS");

  // An office added with an empty name passes the name check: it is the name it started with.
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  f = form("Dodawanie urzędu");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(officeCount(), 5);
}

TEST_P(TaxOfficeWindowTest, AccountsOfAnOfficeBeingAddedStayWithItOrGoWithIt) {
  auto w = openOffices();
  ASSERT_TRUE(w);
  // Accounts written while the form is open (as its account list does) are under the
  // office's reserved id.
  auto addAccountUnderReservedId = [&](int account) {
    std::string id = scalar("SELECT ID FROM REZERWACJA_ID WHERE TABELA = 'URZEDY'");
    EXPECT_FALSE(id.empty());
    exec("INSERT INTO RACHUNEK_URZEDU (ID_RACHUNKU, ID_URZEDU, NUMER_RACHUNKU) VALUES (" + std::to_string(account) +
         ", " + id + ", 'PL61109010140000071219812874')");
    return id;
  };

  // Cancelled: the account goes with the office that never was.
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = form("Dodawanie urzędu");
  ASSERT_TRUE(f);
  std::string given = addAccountUnderReservedId(901);
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM RACHUNEK_URZEDU WHERE ID_URZEDU = " + given), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM REZERWACJA_ID"), "0");

  // Saved: the office gets exactly the id its account was written under, although
  // another user added an office meanwhile.
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  f = form("Dodawanie urzędu");
  ASSERT_TRUE(f);
  given = addAccountUnderReservedId(902);
  data::FileManager& other = *data::fileManager("URZEDY");  // this thread is the other user
  ASSERT_EQ(other.primeRecord(), 0);
  other.record().field("NAZWA").set("Urząd drugiego użytkownika");
  ASSERT_EQ(other.insert(), 0) << other.errorText();
  EXPECT_NE(sql::sqlId(other.record().field("ID_URZEDU").number()), given);
  ASSERT_TRUE(fe().type(f, "?URZ:NAZWA", "Urząd Skarbowy Wołomin"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT ID_URZEDU FROM URZEDY WHERE NAZWA = 'Urząd Skarbowy Wołomin'"), given);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM RACHUNEK_URZEDU WHERE ID_URZEDU = " + given), "1");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM REZERWACJA_ID"), "0");
  ASSERT_TRUE(fe().close(w));
}

TEST_P(TaxOfficeWindowTest, DeleteAsksFirstThenChecksTheRightAndTheLock) {
  data::glo().ID_UZYTKOWNIKA = kJan;
  grant({"Urzedy"});
  auto w = openOffices();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  // No: nothing else is said, not even about the missing right.
  fe().expectMessage(rt::button::No, "Czy usunąć bieżący urząd?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_EQ(fe().messages().size(), 1u);
  EXPECT_EQ(fe().messages()[0].title, "TRAMEL:Pytanie");
  EXPECT_EQ(fe().messages()[0].defaultButton, rt::button::No);
  fe().expectMessage(rt::button::Yes, "Czy usunąć bieżący urząd?");
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na usuwanie urzędów!");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(officeCount(), 3);
  ASSERT_TRUE(fe().close(w));
  join();

  data::glo().ID_UZYTKOWNIKA = kAdmin;
  exec("UPDATE URZEDY SET SEMAFOR = 6100004 WHERE ID_URZEDU = 2");  // Jan is editing it
  w = openOffices();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  fe().expectMessage(rt::button::Yes, "Czy usunąć bieżący urząd?");
  fe().expectMessage(rt::button::Ok, "Urząd jest aktualizowany przez innego użytkownika!");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(officeCount(), 3);
  exec("UPDATE URZEDY SET SEMAFOR = 0 WHERE ID_URZEDU = 2");
  fe().expectMessage(rt::button::Yes, "Czy usunąć bieżący urząd?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(officeCount(), 2);
  EXPECT_EQ(office(2, "NAZWA"), "");
}

TEST_P(TaxOfficeWindowTest, RightsGuardTheListAndTheForm) {
  data::glo().ID_UZYTKOWNIKA = kJan;
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dostęp do urzędów!");
  outcome_ = startListOf(URZEDY_BRW, "URZ:ID_URZEDU");
  join();
  EXPECT_EQ(fe().messages().size(), 1u);

  grant({"Urzedy"});
  auto w = openOffices();
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dodawanie urzędów!");
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na oglądanie Urzędów!");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(office(2, "SEMAFOR"), "0") << "a refused change takes no lock";
  ASSERT_TRUE(fe().close(w));
  join();

  // May look at an office but not change it: the form only shows.
  grant({"OUrzedy"});
  w = openOffices();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = form("Podgląd urzędu");  // a change the user may not make reads as a view
  ASSERT_TRUE(f);
  for (const char* control : {"?URZ:NAZWA", "?URZ:TYP_URZEDU", "?URZ:KOD_POCZTOWY", "?URZ:MIEJSCOWOSC",
                              "?URZ:ULICA_LOKAL", "?URZ:TELEFON", "?URZ:E_MAIL", "?OK"})
    EXPECT_FALSE(f->control(control)->enabled) << control;
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(office(2, "SEMAFOR"), "0");
}

TEST_P(TaxOfficeWindowTest, TheMailButtonWritesToTheOfficesAddress) {
  auto w = openOffices();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = form("Edycja urzędu");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Ok, "Proszę wpisać adres e-mail!");
  ASSERT_TRUE(fe().click(f, "?URZ:E_MAIL:BUTTON"));
  ASSERT_TRUE(fe().type(f, "?URZ:E_MAIL", " sekretariat@us.example.pl "));
  ASSERT_TRUE(fe().click(f, "?URZ:E_MAIL:BUTTON"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(fe().openedLinks(), (std::vector<std::string>{"mailto:sekretariat@us.example.pl"}));
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
}

SLOWNIK_ON_ALL_BACKENDS(TaxOfficeWindowTest);

}  // namespace
}  // namespace slownik::banking::test
