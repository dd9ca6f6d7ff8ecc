// The internet users of a contractor played through the headless front-end.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "dictionaries/documents/internet_user_form.h"
#include "dictionaries/documents/internet_user_list.h"
#include "engine/window_fixture.h"
#include "framework/runtime/keys.h"
#include "framework/sql/routine_registry.h"

namespace slownik::documents {
namespace {

// List-buffer fields of a row: surname, its icon number, first name, user id.
constexpr std::size_t kSurname = 0;
constexpr std::size_t kIcon = 1;
constexpr std::size_t kFirstName = 2;
constexpr const char* kListTitle = "Lista użytkowników internetowych";
constexpr const char* kNewTitle = "Dodawanie użytkownika internetowego";
constexpr const char* kEditTitle = "Edycja użytkownika internetowego";
constexpr long long kOneill = 2;  // seeded contractor "O'Neill Polska"

class InternetUserWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("INSERT INTO INT_UZYTKOWNIK (ID_INT_UZYTKOWNIK, ID_KONTRAHENTA, HASLO, AKTYWNY, NAZWISKO, IMIE) VALUES "
         "(10, 2, 'x1', 1, 'Nowak', 'Anna'), (11, 2, 'x2', 0, 'Bąk', 'Piotr'), (12, 1, 'x3', 1, 'Obcy', 'Jan')");
  }
  std::shared_ptr<rt::Window> openList(long long contractor = kOneill) {
    start([contractor] { HASLO_INTER_0001_002_BRW(static_cast<double>(contractor)); });
    return window(kListTitle);
  }
  std::string users() {
    sql::Result r;
    EXPECT_TRUE(db().execute("SELECT ID_INT_UZYTKOWNIK, ID_KONTRAHENTA, HASLO, AKTYWNY, NAZWISKO, IMIE FROM "
                             "INT_UZYTKOWNIK ORDER BY ID_INT_UZYTKOWNIK",
                             {}, &r)
                    .isOk());
    std::string out;
    for (std::size_t i = 0; i < r.size(); ++i) {
      for (std::size_t c = 0; c < 6; ++c) out += r.text(i, c) + (c < 5 ? "|" : ";");
    }
    return out;
  }
  static int selection(const std::shared_ptr<rt::Window>& w) { return w->control("?LIST")->selection; }
  void onRow(const std::shared_ptr<rt::Window>& w, const std::string& surname) {
    int row = rowOf(w, kSurname, surname);
    ASSERT_GT(row, 0) << surname;
    ASSERT_TRUE(fe().clickRow(w, "?LIST", row));
  }
  // The user form of the list's current row, opened with F2.
  std::shared_ptr<rt::Window> change(const std::shared_ptr<rt::Window>& w, const std::string& surname) {
    onRow(w, surname);
    EXPECT_TRUE(fe().press(w, rt::key::F2));
    return window(kEditTitle);
  }

  static constexpr const char* kSeeded = "10|2|x1|1|Nowak|Anna;11|2|x2|0|Bąk|Piotr;12|1|x3|1|Obcy|Jan;";
};

TEST_P(InternetUserWindows, ListsTheContractorsUsersWithTheActiveMarked) {
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->control("?NAZWA")->text, "O'Neill Polska");
  EXPECT_EQ(column(w, kSurname), (std::vector<std::string>{"Bąk", "Nowak"}));
  EXPECT_EQ(column(w, kFirstName), (std::vector<std::string>{"Piotr", "Anna"}));
  EXPECT_EQ(column(w, kIcon), (std::vector<std::string>{"0", "1"}));
  EXPECT_EQ(w->control("?LIST")->iconList, (std::vector<std::string>{"~32redchk.ico"}));
  EXPECT_EQ(selection(w), 1);
  ASSERT_TRUE(fe().press(w, rt::key::F1));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_FALSE(fe().helpPages().empty());
  EXPECT_NE(fe().helpPages().back().find("kar_kontr.htm"), std::string::npos) << fe().helpPages().back();

  // F5 reads again and keeps the cursor on the user it was on.
  onRow(w, "Nowak");
  exec("INSERT INTO INT_UZYTKOWNIK (ID_INT_UZYTKOWNIK, ID_KONTRAHENTA, HASLO, AKTYWNY, NAZWISKO, IMIE) VALUES "
       "(13, 2, '', 1, 'Adamska', 'Ewa')");
  ASSERT_TRUE(fe().press(w, rt::key::F5));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(column(w, kSurname), (std::vector<std::string>{"Adamska", "Bąk", "Nowak"}));
  EXPECT_EQ(selection(w), 3);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
}

TEST_P(InternetUserWindows, AContractorThatCannotBeReadOpensNoWindow) {
  struct Case {
    const char* label;
    long long contractor;
    bool breakTable;  // the contractor's name can't be read at all
    const char* message;
  };
  const Case cases[] = {
      {"missing", 999, false, "Kontrahent nie został znaleziony!"},
      {"sql error", kOneill, true, "nazwa"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    if (c.breakTable) exec("ALTER TABLE KONTRAHENT RENAME COLUMN NAZWA TO NAZWA_X");
    fe().expectMessage(rt::button::Ok, c.message);
    start([c] { HASLO_INTER_0001_002_BRW(static_cast<double>(c.contractor)); });
    join();
    std::atomic<double> saved{-1};
    fe().expectMessage(rt::button::Ok, c.message);
    start([c, &saved] { saved = HASLO_INTER_0001_002(0, static_cast<double>(c.contractor)); });
    join();
    EXPECT_EQ(saved.load(), 0.0);
    ASSERT_EQ(fe().messages().size(), 2u);
    EXPECT_EQ(fe().messages()[0].title, "TRAMEL:Ostrzeżenie");
    EXPECT_TRUE(rt::openWindows().empty());
    EXPECT_EQ(users(), kSeeded) << "no user is created for it";
    if (c.breakTable) exec("ALTER TABLE KONTRAHENT RENAME COLUMN NAZWA_X TO NAZWA");
    fe().reset();
  }
}

TEST_P(InternetUserWindows, ANewUserIsStoredAsTypedAndTheListGoesToIt) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window(kNewTitle);
  ASSERT_TRUE(f);
  // The row exists from the moment the form opened.
  EXPECT_EQ(f->control("?ID")->value, "13");
  EXPECT_EQ(scalar("SELECT ID_KONTRAHENTA || '|' || AKTYWNY FROM INT_UZYTKOWNIK WHERE ID_INT_UZYTKOWNIK = 13"), "2|1");
  EXPECT_EQ(f->control("?NAZWA")->text, "O'Neill Polska");
  EXPECT_EQ(f->control("?AKTYWNY")->value, "1");
  EXPECT_EQ(f->focus(), "?NAZWISKO");
  ASSERT_TRUE(fe().type(f, "?NAZWISKO", "O'Brien"));
  ASSERT_TRUE(fe().type(f, "?IMIE", "D'Arcy"));
  ASSERT_TRUE(fe().type(f, "?HASLO", "ta'jne"));
  ASSERT_TRUE(fe().press(f, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT HASLO || '|' || NAZWISKO || '|' || IMIE FROM INT_UZYTKOWNIK WHERE ID_INT_UZYTKOWNIK = 13"),
            "ta'jne|O'Brien|D'Arcy");
  EXPECT_EQ(column(w, kSurname), (std::vector<std::string>{"Bąk", "Nowak", "O'Brien"}));
  EXPECT_EQ(selection(w), 3);
  EXPECT_EQ(w->focus(), "?LIST");
}

TEST_P(InternetUserWindows, ClosingANewUsersFormUnsavedLeavesNoRow) {
  const struct {
    const char* label;
    bool closeBox;
  } cases[] = {{"Esc", false}, {"close box", true}};
  auto w = openList();
  ASSERT_TRUE(w);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_TRUE(fe().press(w, rt::key::Ins));
    auto f = window(kNewTitle);
    ASSERT_TRUE(f);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM INT_UZYTKOWNIK"), "4");
    ASSERT_TRUE(fe().type(f, "?NAZWISKO", "Porzucony"));
    ASSERT_TRUE(c.closeBox ? fe().close(f) : fe().press(f, rt::key::Esc));
    ASSERT_TRUE(fe().waitForClose(f));
    ASSERT_TRUE(fe().settle(w));
    EXPECT_EQ(users(), kSeeded);
    EXPECT_EQ(column(w, kSurname), (std::vector<std::string>{"Bąk", "Nowak"}));
  }
}

TEST_P(InternetUserWindows, ChangingAUserRewritesItsRow) {
  auto w = openList();
  ASSERT_TRUE(w);
  auto f = change(w, "Nowak");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->control("?ID")->value, "10");
  EXPECT_EQ(f->control("?NAZWISKO")->value, "Nowak");
  EXPECT_EQ(f->control("?IMIE")->value, "Anna");
  EXPECT_EQ(f->control("?HASLO")->value, "x1");
  EXPECT_EQ(f->control("?AKTYWNY")->value, "1");
  ASSERT_TRUE(fe().click(f, "?AKTYWNY"));
  ASSERT_TRUE(fe().type(f, "?HASLO", "nowe'hasło"));
  ASSERT_TRUE(fe().type(f, "?NAZWISKO", "Nowak-O'Hara"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(users(), "10|2|nowe'hasło|0|Nowak-O'Hara|Anna;11|2|x2|0|Bąk|Piotr;12|1|x3|1|Obcy|Jan;");
  EXPECT_EQ(column(w, kIcon), (std::vector<std::string>{"0", "0"}));
  EXPECT_EQ(w->control("?LIST")->rows[static_cast<std::size_t>(selection(w) - 1)][kSurname], "Nowak-O'Hara");

}

TEST_P(InternetUserWindows, DeleteAsksAndNoChangesNothing) {
  auto w = openList();
  ASSERT_TRUE(w);
  onRow(w, "Nowak");
  fe().expectMessage(rt::button::No, "Czy usunąć użytkownika internetowego?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_EQ(fe().messages().size(), 1u);
  EXPECT_EQ(fe().messages()[0].title, "TRAMEL: Pytanie");
  EXPECT_EQ(fe().messages()[0].defaultButton, rt::button::No);
  EXPECT_EQ(users(), kSeeded);
  EXPECT_EQ(column(w, kSurname), (std::vector<std::string>{"Bąk", "Nowak"}));

  fe().expectMessage(rt::button::Yes, "Czy usunąć użytkownika internetowego?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(users(), "11|2|x2|0|Bąk|Piotr;12|1|x3|1|Obcy|Jan;");
  EXPECT_EQ(column(w, kSurname), (std::vector<std::string>{"Bąk"}));
  EXPECT_EQ(selection(w), 1);
  EXPECT_EQ(w->focus(), "?LIST");

  fe().expectMessage(rt::button::Yes, "Czy usunąć użytkownika internetowego?");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_TRUE(rows(w).empty());
  // An empty list has nobody to change or delete: no form, no question.
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rt::openWindows().size(), 1u);
  EXPECT_EQ(fe().messages().size(), 3u);
}

TEST_P(InternetUserWindows, AFailedUpdateKeepsTheFormOpen) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window(kNewTitle);
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?NAZWISKO", "Wytrwały"));
  exec("ALTER TABLE INT_UZYTKOWNIK RENAME COLUMN HASLO TO HASLO_X");
  fe().expectMessage(rt::button::Ok, "haslo");
  ASSERT_TRUE(fe().press(f, rt::key::F10));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_FALSE(f->isClosed());
  EXPECT_EQ(fe().messages().back().title, "TRAMEL:Ostrzeżenie");
  EXPECT_EQ(f->control("?NAZWISKO")->value, "Wytrwały") << "what was typed stays";

  // A later save that succeeds is the form's result.
  exec("ALTER TABLE INT_UZYTKOWNIK RENAME COLUMN HASLO_X TO HASLO");
  ASSERT_TRUE(fe().press(f, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT NAZWISKO FROM INT_UZYTKOWNIK WHERE ID_INT_UZYTKOWNIK = 13"), "Wytrwały");
  EXPECT_EQ(column(w, kSurname), (std::vector<std::string>{"Bąk", "Nowak", "Wytrwały"}));

  // Failed, then given up: the new row goes all the same.
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  f = window(kNewTitle);
  ASSERT_TRUE(f);
  exec("ALTER TABLE INT_UZYTKOWNIK RENAME COLUMN HASLO TO HASLO_X");
  fe().expectMessage(rt::button::Ok, "haslo");
  ASSERT_TRUE(fe().press(f, rt::key::F10));
  ASSERT_TRUE(fe().settle(f));
  exec("ALTER TABLE INT_UZYTKOWNIK RENAME COLUMN HASLO_X TO HASLO");
  ASSERT_TRUE(fe().press(f, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM INT_UZYTKOWNIK WHERE ID_INT_UZYTKOWNIK = 14"), "0");
}

TEST_P(InternetUserWindows, AUserDeletedByAnotherIsNeitherEditedNorSavedInVain) {
  auto w = openList();
  ASSERT_TRUE(w);
  // Gone before the form opens: it does not open.
  onRow(w, "Bąk");
  exec("DELETE FROM INT_UZYTKOWNIK WHERE ID_INT_UZYTKOWNIK = 11");
  fe().expectMessage(rt::button::Ok, "Użytkownik internetowy nie został znaleziony!");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rt::openWindows().size(), 1u);

  // Gone while the form is open: the save says so instead of reporting success.
  auto f = change(w, "Nowak");
  ASSERT_TRUE(f);
  exec("DELETE FROM INT_UZYTKOWNIK WHERE ID_INT_UZYTKOWNIK = 10");
  fe().expectMessage(rt::button::Ok, "usunięty przez innego użytkownika");
  ASSERT_TRUE(fe().press(f, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(users(), "12|1|x3|1|Obcy|Jan;");
}

SLOWNIK_ON_ALL_BACKENDS(InternetUserWindows);

}  // namespace
}  // namespace slownik::documents
