// The contractor classifications played through the headless front-end.
#include "dictionaries/documents/classification_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"

namespace slownik::documents {
namespace {

class ClassificationWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // Classifications of its own, not the demo's.
    exec("DELETE FROM KLASYFIKACJA_KONTRAHENTA");
    exec("INSERT INTO KLASYFIKACJA_KONTRAHENTA (ID_KLASYFIKACJI, ID_FIRMY, NAZWA, DOMYSLNA) VALUES "
         "(1, 0, 'Odbiorcy hurtowi', 1), (2, 0, 'Dostawcy', 0), (3, 7, 'Inna firma', 0)");
  }
  std::shared_ptr<rt::Window> openList() {
    start([] { TYP_KONTRAHENTA_BRW(""); });
    return window("Klasyfikacje kontrahentów");
  }
  std::string defaults() {
    return scalar("SELECT COUNT(*) FROM KLASYFIKACJA_KONTRAHENTA WHERE DOMYSLNA = 1") + ":" +
           scalar("SELECT MAX(NAZWA) FROM KLASYFIKACJA_KONTRAHENTA WHERE DOMYSLNA = 1");
  }
  //! The demo's ordinary user with these rights of the demo company.
  void asUserWith(std::initializer_list<const char*> rights) {
    for (const char* right : rights) grant(right);
    asUser(sql::demo::kUserId);
  }
  int nameColumn(const std::shared_ptr<rt::Window>& w) {
    for (std::size_t c = 0; c < rows(w).front().size(); ++c)
      if (rows(w).front()[c] == "Dostawcy") return static_cast<int>(c);
    return -1;
  }
};

TEST_P(ClassificationWindows, ListsTheSharedClassificationsWithTheDefaultMarked) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_EQ(rows(w).size(), 2u) << "only the classifications kept for every company (0)";
  int name = nameColumn(w);
  ASSERT_GE(name, 0);
  EXPECT_EQ(column(w, static_cast<std::size_t>(name)), (std::vector<std::string>{"Dostawcy", "Odbiorcy hurtowi"}));
  // The icon of the default is the list's first icon; the other row has none.
  auto format = rt::ListFormat::parse(w->control("?LIST")->format);
  ASSERT_TRUE(format);
  std::size_t icon = static_cast<std::size_t>(format->columns[0].iconField - 1);
  EXPECT_EQ(column(w, icon), (std::vector<std::string>{"0", "1"}));
}

TEST_P(ClassificationWindows, MarkingASecondDefaultClearsTheFirst) {
  data::glo().KONTR_DRZEWKO_LOADED = 1;
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));  // Dostawcy
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = window("Edycja typu kontrahenta");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().click(f, "?KLA:DOMYSLNA"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(defaults(), "1:Dostawcy");
  EXPECT_EQ(data::glo().KONTR_DRZEWKO_LOADED.get(), 0) << "the host's tree is built again";
  EXPECT_EQ(scalar("SELECT DOMYSLNA FROM KLASYFIKACJA_KONTRAHENTA WHERE ID_KLASYFIKACJI = 3"), "0");
}

TEST_P(ClassificationWindows, NamesAreRequiredAndUnique) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Dodawanie typu kontrahenta");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Ok, "Proszę wprowadzić nazwę klasyfikacji.");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->focus(), "?KLA:NAZWA");
  ASSERT_TRUE(fe().type(f, "?KLA:NAZWA", "Dostawcy"));
  fe().expectMessage(rt::button::Ok, "Klasyfikacja kontrahenta o takiej nazwie już istnieje!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KLASYFIKACJA_KONTRAHENTA"), "3");
  // Another company's name is no conflict, nor is an apostrophe a problem.
  ASSERT_TRUE(fe().type(f, "?KLA:NAZWA", "Inna firma"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  f = window("Dodawanie typu kontrahenta");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?KLA:NAZWA", "Klienci O'Briena"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KLASYFIKACJA_KONTRAHENTA WHERE ID_FIRMY = 0"), "4");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KLASYFIKACJA_KONTRAHENTA WHERE NAZWA = 'Klienci O''Briena'"), "1");
}

TEST_P(ClassificationWindows, RightsGuardTheWindowEachActionAndTheEdit) {
  asUserWith({});
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dostęp do typów kontrahentów!");
  start([] { TYP_KONTRAHENTA_BRW(""); });
  join();
  ASSERT_EQ(fe().messages().size(), 1u);
  EXPECT_EQ(fe().messages()[0].title, "Ostrzeżenie");

  asUserWith({"TypyKontr", "OTypyKontr"});
  auto w = openList();
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dodawanie typów kontrahentów!");
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(fe().messages().back().title, "TRAMEL: Ostrzeżenie");
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na usuwanie typów kontrahentów!");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KLASYFIKACJA_KONTRAHENTA"), "3");

  // May look but not edit: name, description and saving are off, the check box is not.
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto f = window("Edycja typu kontrahenta");
  ASSERT_TRUE(f);
  EXPECT_FALSE(f->control("?KLA:NAZWA")->enabled);
  EXPECT_FALSE(f->control("?KLA:OPIS")->enabled);
  EXPECT_FALSE(f->control("?OK")->enabled);
  EXPECT_TRUE(f->control("?KLA:DOMYSLNA")->enabled);
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
}

SLOWNIK_ON_ALL_BACKENDS(ClassificationWindows);

}  // namespace
}  // namespace slownik::documents
