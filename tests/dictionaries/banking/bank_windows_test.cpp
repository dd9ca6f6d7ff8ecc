// The bank list and form played through the headless front-end, checked against the
// database.
#include "bank_windows.h"
#include "framework/services/messages.h"
#include "framework/services/window_parameters.h"

namespace slownik::banking::test {
namespace {

const std::vector<std::string> kByNumber = {"19900003", "19900016", "89990003"};

std::shared_ptr<rt::Window> waitForm(rt::HeadlessFrontEnd& fe, const std::string& title) {
  auto f = fe.waitForWindow(title);
  EXPECT_TRUE(f) << title;
  return f;
}

TEST_P(BankWindowTest, SortOrderAndDirectionAreStoredAndRestored) {
  ASSERT_EQ(svc::ZAPISZPARAMETROKNA("Bank_Brw", "sortowanie", "nazwa"), 0);
  ASSERT_EQ(svc::ZAPISZPARAMETROKNA("Bank_Brw", "porządek", "malejąco"), 0);
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?SORTOWANIE"), "nazwa");
  EXPECT_EQ(w->control("?UPDOWN")->icon, "~malejaco.ico");
  EXPECT_EQ(columnOf(w, kIdField), (std::vector<std::string>{"3", "2", "1"}));  // names, descending
  auto styles = w->control("?LIST")->styles;
  EXPECT_EQ(styles[2].fontWeight, rt::kBoldWeight);
  EXPECT_EQ(styles[1].fontWeight, rt::kNormalWeight);

  ASSERT_TRUE(fe().click(w, "?UPDOWN"));
  EXPECT_EQ(w->control("?UPDOWN")->icon, "~rosnaco.ico");
  EXPECT_EQ(columnOf(w, kIdField), (std::vector<std::string>{"1", "2", "3"}));

  ASSERT_TRUE(fe().choose(w, "?SORTOWANIE", "numer"));
  EXPECT_EQ(columnOf(w, valueField(2)), kByNumber);
  EXPECT_EQ(w->control("?LIST")->styles[1].fontWeight, rt::kBoldWeight);
  EXPECT_EQ(w->control("?LIST")->styles[2].fontWeight, rt::kNormalWeight);
  ASSERT_TRUE(fe().click(w, "?UPDOWN"));
  EXPECT_EQ(columnOf(w, valueField(2)), (std::vector<std::string>{"89990003", "19900016", "19900003"}));

  ASSERT_TRUE(fe().close(w));
  join();
  EXPECT_EQ(svc::POBIERZPARAMETROKNA("Bank_Brw", "sortowanie"), "numer");
  EXPECT_EQ(svc::POBIERZPARAMETROKNA("Bank_Brw", "porządek"), "malejąco");

  // An unknown stored order falls back to the number.
  ASSERT_EQ(svc::ZAPISZPARAMETROKNA("Bank_Brw", "sortowanie", "byle co"), 0);
  ASSERT_EQ(svc::ZAPISZPARAMETROKNA("Bank_Brw", "porządek", "rosnąco"), 0);
  w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?SORTOWANIE"), "numer");
  EXPECT_EQ(columnOf(w, valueField(2)), kByNumber);
}

TEST_P(BankWindowTest, FilterLocatorAndHeaderSorting) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().type(w, "?LOKATOR", "1990"));
  EXPECT_EQ(columnOf(w, valueField(2)), (std::vector<std::string>{"19900003", "19900016"}));
  // A new order lifts the filter typed for the old one.
  ASSERT_TRUE(fe().choose(w, "?SORTOWANIE", "kod"));
  EXPECT_EQ(rows(w).size(), 3u);
  EXPECT_FALSE(w->control("?LOKATOR")->enabled);
  ASSERT_TRUE(fe().choose(w, "?SORTOWANIE", "nazwa"));
  ASSERT_TRUE(fe().type(w, "?LOKATOR", "bank spół"));
  EXPECT_EQ(columnOf(w, kIdField), (std::vector<std::string>{"3"}));
  ASSERT_TRUE(fe().type(w, "?LOKATOR", ""));
  ASSERT_TRUE(fe().choose(w, "?SORTOWANIE", "numer"));

  // Keyed columns don't sort by their header; the street does, both ways.
  ASSERT_TRUE(fe().clickHeader(w, "?LIST", 1));
  EXPECT_TRUE(w->control("?LIST")->columnHeaders.empty() || w->control("?LIST")->columnHeaders[1] == "Nazwa banku");
  EXPECT_EQ(columnOf(w, valueField(2)), kByNumber);
  ASSERT_TRUE(fe().clickHeader(w, "?LIST", 4));
  ASSERT_TRUE(fe().clickHeader(w, "?LIST", 4));
  EXPECT_EQ(w->control("?LIST")->columnHeaders[4], "Adres[-]");
  EXPECT_EQ(columnOf(w, valueField(4)), (std::vector<std::string>{"ul. Rynek 5", "ul. Floriańska 10", "ul. Bankowa 1"}));
  ASSERT_TRUE(fe().clickHeader(w, "?LIST", 4, rt::key::ShiftMouseLeft));
  EXPECT_EQ(columnOf(w, valueField(2)), kByNumber);
}

TEST_P(BankWindowTest, PickerHandsBackTheChosenBank) {
  auto w = openList(data::kSelectRecord);
  ASSERT_TRUE(w);
  EXPECT_FALSE(w->control("?SELECT")->hidden);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  ASSERT_TRUE(fe().click(w, "?SELECT"));
  join();
  EXPECT_EQ(outcome_->response.load(), data::kRequestCompleted);
  EXPECT_EQ(outcome_->chosenId.load(), 2);

  w = openList(data::kSelectRecord);
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().click(w, "?CLOSE"));
  join();
  EXPECT_EQ(outcome_->response.load(), data::kRequestCancelled);
}

TEST_P(BankWindowTest, RightsGuardTheListAndEachAction) {
  data::glo().ID_UZYTKOWNIKA = 424242;  // nobody: no rights at all
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dostęp do listy banków!");
  outcome_ = startList();
  join();
  EXPECT_EQ(fe().messages().size(), 1u);

  data::glo().ID_UZYTKOWNIKA = kJan;  // may look, may not add, edit or delete
  auto w = openList();
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dodawanie banków!");
  ASSERT_TRUE(fe().click(w, "?INSERT"));
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na usuwanie banków!");
  ASSERT_TRUE(fe().click(w, "?DELETE"));
  EXPECT_EQ(bankCount(), 3);

  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = waitForm(fe(), "View Record");  // without "EBanki" the change is a view
  ASSERT_TRUE(f);
  EXPECT_EQ(bank(1, "SEMAFOR"), "6100004") << "the form holds the lock";
  EXPECT_FALSE(f->control("?BAN:NAZWA")->enabled);
  EXPECT_FALSE(f->control("?OK")->enabled);
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(bank(1, "SEMAFOR"), "0");
}

TEST_P(BankWindowTest, ChangeTakesTheLockRereadsTheRowAndReleasesIt) {
  auto w = openList();
  ASSERT_TRUE(w);
  // Another user renamed the bank after the list was read.
  exec("UPDATE BANKI SET TEL = '22 999 99 99' WHERE ID_BANKU = 1");
  ASSERT_TRUE(fe().doubleClickRow(w, "?LIST", 1));
  auto f = waitForm(fe(), "Edycja banku");
  ASSERT_TRUE(f);
  EXPECT_EQ(bank(1, "SEMAFOR"), "6100003");
  EXPECT_EQ(f->value("?BAN:TEL"), "22 999 99 99");
  ASSERT_TRUE(fe().type(f, "?BAN:NAZWA", "Bank Centralny O'Neill"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(bank(1, "NAZWA"), "Bank Centralny O'Neill");
  EXPECT_EQ(bank(1, "TEL"), "22 999 99 99");
  EXPECT_EQ(bank(1, "SEMAFOR"), "0");
  EXPECT_EQ(columnOf(w, valueField(1))[0], "Bank Centralny O'Neill");
  EXPECT_EQ(columnOf(w, kSemaforField)[0], "0") << "the row shows its lock released";

  // Held by somebody else: blue, and neither changed nor deleted.
  exec("UPDATE BANKI SET SEMAFOR = 6100004 WHERE ID_BANKU = 2");
  ASSERT_TRUE(fe().press(w, rt::key::F5));
  EXPECT_EQ(columnOf(w, textColourField(1))[1], "16711680");
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 2));
  fe().expectMessage(rt::button::Ok, kLockedText);
  ASSERT_TRUE(fe().click(w, "?CHANGE"));
  fe().expectMessage(svc::kYes, "Czy usunąć ten bank?");
  fe().expectMessage(rt::button::Ok, kLockedText);
  ASSERT_TRUE(fe().click(w, "?DELETE"));
  EXPECT_EQ(bankCount(), 3);
  EXPECT_EQ(bank(2, "SEMAFOR"), "6100004");
}

TEST_P(BankWindowTest, AfterTheFormTheListShowsWhatWasWrittenMeanwhile) {
  auto w = openList();
  ASSERT_TRUE(w);
  const std::string second = columnOf(w, valueField(1))[1];
  ASSERT_TRUE(fe().doubleClickRow(w, "?LIST", 1));
  auto f = waitForm(fe(), "Edycja banku");
  ASSERT_TRUE(f);
  // While the form is open, another window of the program renames the next bank.
  exec("UPDATE BANKI SET NAZWA = 'Bank Obok' WHERE NAZWA = '" + second + "'");
  ASSERT_TRUE(fe().type(f, "?BAN:NAZWA", "Bank Pierwszy"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  auto names = columnOf(w, valueField(1));
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "Bank Pierwszy");
  EXPECT_EQ(names[1], "Bank Obok") << "the list was read again, not only the row written";
}

TEST_P(BankWindowTest, DeleteAsksFirst) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 3));
  fe().expectMessage(svc::kNo, "Czy usunąć ten bank?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  EXPECT_EQ(bankCount(), 3);
  fe().expectMessage(svc::kYes, "Czy usunąć ten bank?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  EXPECT_EQ(bankCount(), 2);
  EXPECT_EQ(bank(3, "NAZWA"), "");
  EXPECT_EQ(columnOf(w, kIdField), (std::vector<std::string>{"1", "2"}));
}

TEST_P(BankWindowTest, InsertChecksTheNumberAndTheName) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = waitForm(fe(), "Dodawanie banku");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?BAN:NAZWA"), "");
  EXPECT_EQ(f->value("?BAN:NUMER_BANKU"), "");
  ASSERT_TRUE(fe().type(f, "?BAN:NAZWA", "Bank Nowy"));
  ASSERT_TRUE(fe().type(f, "?BAN:NUMER_BANKU", "19900016"));
  fe().expectMessage(rt::button::Ok, "Bank o takim numerze już istnieje!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  EXPECT_FALSE(f->isClosed());

  ASSERT_TRUE(fe().type(f, "?BAN:NUMER_BANKU", "12345678"));
  ASSERT_TRUE(fe().type(f, "?BAN:NAZWA", ""));
  fe().expectMessage(svc::kNo, "Nie wprowadzono nazwy banku!|Czy kontynuować?");
  ASSERT_TRUE(fe().click(f, "?OK"));
  EXPECT_FALSE(f->isClosed());
  EXPECT_EQ(bankCount(), 3);
  ASSERT_TRUE(fe().type(f, "?BAN:NAZWA", "Bank d'Ardennes"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT NAZWA FROM BANKI WHERE NUMER_BANKU = '12345678'"), "Bank d'Ardennes");
  EXPECT_EQ(scalar("SELECT COALESCE(SEMAFOR, 0) FROM BANKI WHERE NUMER_BANKU = '12345678'"), "0");
  EXPECT_EQ(columnOf(w, valueField(2)), (std::vector<std::string>{"12345678", "19900003", "19900016", "89990003"}));

  // Two banks without a number: the first saves (after the name question), the second not.
  for (int attempt = 0; attempt < 2; ++attempt) {
    ASSERT_TRUE(fe().press(w, rt::key::Ins));
    f = waitForm(fe(), "Dodawanie banku");
    ASSERT_TRUE(f);
    ASSERT_TRUE(fe().type(f, "?BAN:NAZWA", "Bez numeru"));
    if (attempt == 1) fe().expectMessage(rt::button::Ok, "Bank o takim numerze już istnieje!");
    ASSERT_TRUE(fe().click(f, "?OK"));
    if (attempt == 0) {
      ASSERT_TRUE(fe().waitForClose(f));
    }
  }
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(bankCount(), 5);
}

TEST_P(BankWindowTest, FormPastesTheNumberAndOpensMailAndWeb) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 3));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = waitForm(fe(), "Edycja banku");
  ASSERT_TRUE(f);

  fe().setClipboardText("1020304050607080");
  ASSERT_TRUE(fe().click(f, "?BAN:NUMER_BANKU"));
  ASSERT_TRUE(fe().press(f, rt::key::withCtrl(rt::key::letter('V'))));
  EXPECT_EQ(f->value("?BAN:NUMER_BANKU"), "10203040");

  ASSERT_TRUE(fe().click(f, "?BAN:E_MAIL:BUTTON"));
  fe().expectMessage(rt::button::Ok, "Proszę wprowadzić adres strony WWW!");
  ASSERT_TRUE(fe().click(f, "?BAN:ADRES_WWW:BUTTON"));
  ASSERT_TRUE(fe().type(f, "?BAN:ADRES_WWW", "www.bs.invalid"));
  ASSERT_TRUE(fe().click(f, "?BAN:ADRES_WWW:BUTTON"));
  ASSERT_TRUE(fe().type(f, "?BAN:ADRES_WWW", "https://bs.invalid"));
  ASSERT_TRUE(fe().click(f, "?BAN:ADRES_WWW:BUTTON"));
  ASSERT_TRUE(fe().type(f, "?BAN:E_MAIL", ""));
  fe().expectMessage(rt::button::Ok, "Proszę wpisać adres e-mail!");
  ASSERT_TRUE(fe().click(f, "?BAN:E_MAIL:BUTTON"));
  EXPECT_EQ(fe().openedLinks(),
            (std::vector<std::string>{"mailto:bs@bank.invalid", "http://www.bs.invalid", "https://bs.invalid"}));
  auto shown = fe().messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].title, "TRAMEL: Ostrzeżenie");
  EXPECT_EQ(shown[0].icon, rt::MessageIcon::Information);

  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(bank(3, "NUMER_BANKU"), "89990003") << "a cancelled form writes nothing";
  EXPECT_EQ(bank(3, "SEMAFOR"), "0");
}

TEST_P(BankWindowTest, PopupOffersTheImport) {
  auto w = openList();
  ASSERT_TRUE(w);
  fe().expectPopup("Importuj banki z KIR");
  fe().expectFile(std::nullopt);  // no folder set yet: it is asked for, and cancelled
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().settle(w));
  auto popups = fe().popupsShown();
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0], (std::vector<std::string>{"Dodaj", "Popraw", "Usuń", "Importuj banki z KIR", "Raport ostatniego importu z KIR",
                                               "Eksport do Excela", "Drukuj"}));
  EXPECT_EQ(bankCount(), 3);
}

SLOWNIK_ON_ALL_BACKENDS(BankWindowTest);

}  // namespace
}  // namespace slownik::banking::test
