// The document labels played through the headless front-end.
#include <memory>
#include <string>
#include <vector>

#include "dictionaries/documents/document_label_list.h"
#include "dictionaries/documents/document_label_reload.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"

namespace slownik::documents {
namespace {

constexpr std::size_t kName = 0;

class DocumentLabelWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("DELETE FROM ETYKIETA_DOKUMENTU");
    exec("INSERT INTO ETYKIETA_DOKUMENTU (ID_ETYKIETY, ID_FIRMY, NAZWA, DOKUMENT, KOLOR_NAPISU, KOLOR_TLA) VALUES "
         "(1, 1, 'Pilne', '110000000', 255, -1), "
         "(2, 1, 'Klient O''Brien', '000000010', -1, 65280), "
         "(3, 1, 'Tabele', '000000001', -1, -1), "
         "(4, 2, 'Obca', '111111111', -1, -1)");
  }
  std::shared_ptr<rt::Window> openList(std::string kind = "") {
    start([kind] { ETYKIETA_DOKUMENTU_BRW(kind.c_str()); });
    return window("Lista etykiet");
  }
  std::vector<std::string> namesShownFor(const std::string& kind) {
    auto w = openList(kind);
    if (!w) return {};
    EXPECT_TRUE(w->control("?FILTROWANIE")->hidden);
    auto names = column(w, kName);
    fe().press(w, rt::key::Esc);
    join();
    return names;
  }
  std::shared_ptr<rt::Window> formOn(const std::shared_ptr<rt::Window>& list, const std::string& name, int key,
                                     const std::string& title) {
    int row = rowOf(list, kName, name);
    EXPECT_GT(row, 0) << name;
    fe().clickRow(list, "?LIST", row);
    fe().press(list, key);
    return window(title);
  }
  std::string label(const std::string& name) {
    return scalar("SELECT COALESCE(MAX(DOKUMENT || ':' || CAST(KOLOR_NAPISU AS VARCHAR(20)) || ':' || "
                  "CAST(KOLOR_TLA AS VARCHAR(20)) || ':' || CAST(ID_FIRMY AS VARCHAR(20))), '-') "
                  "FROM ETYKIETA_DOKUMENTU WHERE NAZWA = " + sql::quote(name));
  }
};

TEST_P(DocumentLabelWindows, RowsTakeTheirLabelsColoursAndTheFilterTheirLists) {
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_FALSE(w->control("?FILTROWANIE")->hidden);
  ASSERT_EQ(column(w, kName), (std::vector<std::string>{"Klient O'Brien", "Pilne", "Tabele"}));
  auto format = rt::ListFormat::parse(w->control("?LIST")->format);
  ASSERT_TRUE(format);
  const std::size_t colours = static_cast<std::size_t>(format->columns[0].colourField - 1);
  const struct {
    const char* name;
    std::vector<std::string> colours;  // text, background, selected text, selected background
  } looks[] = {
      {"Klient O'Brien", {"-1", "65280", "-1", "-1"}},
      {"Pilne", {"255", "-1", "-1", "-1"}},
      {"Tabele", {"-1", "-1", "-1", "-1"}},  // drawn like any row of the list
  };
  for (const auto& l : looks) {
    SCOPED_TRACE(l.name);
    auto row = rows(w)[static_cast<std::size_t>(rowOf(w, kName, l.name) - 1)];
    EXPECT_EQ(std::vector<std::string>(row.begin() + static_cast<long>(colours), row.begin() + static_cast<long>(colours) + 4),
              l.colours);
  }

  const struct {
    const char* item;
    std::vector<std::string> names;
  } filters[] = {
      {"Magazynowe", {"Pilne"}},
      {"Zamowienia", {"Pilne"}},
      {"Handlowe", {}},
      {"Finansowe", {}},
      {"Rozrachunki", {}},
      {"Zlecenie produkcyjne", {}},
      {"Artykuły", {}},
      {"Kontrahenci", {"Klient O'Brien"}},
      {"Wszystkie", {"Klient O'Brien", "Pilne", "Tabele"}},
  };
  for (const auto& f : filters) {
    SCOPED_TRACE(f.item);
    ASSERT_TRUE(fe().choose(w, "?FILTROWANIE", f.item));
    ASSERT_TRUE(fe().settle(w));
    EXPECT_EQ(column(w, kName), f.names);
  }
  fe().type(w, "?LOKATOR", "pil");
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(w->control("?LIST")->selection, rowOf(w, kName, "Pilne"));
  fe().press(w, rt::key::Esc);
  join();

  // A caller's list kind: only the labels of that list, no filter to choose; a kind that
  // is no position lists nothing rather than reaching the statement.
  EXPECT_EQ(namesShownFor("8"), (std::vector<std::string>{"Klient O'Brien"}));
  EXPECT_EQ(namesShownFor(" 9 "), (std::vector<std::string>{"Tabele"}));
  EXPECT_EQ(namesShownFor("3"), (std::vector<std::string>{}));
  EXPECT_EQ(namesShownFor("1') or ('1'='1"), (std::vector<std::string>{}));
}

TEST_P(DocumentLabelWindows, FormKeepsListsAndColoursOfTheLabel) {
  const long reloads = programLabelReloads();
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Zapis zostanie dodany");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->control("?BOX11")->backColor, -1);
  EXPECT_EQ(f->control("?BOX12")->backColor, -1);
  ASSERT_TRUE(fe().type(f, "?ETYD:NAZWA", "Etykieta O'Reilly"));
  fe().expectMessage(rt::button::Ok, "Proszę zanaczyć przynajmniej jeden typ etykiety!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_FALSE(f->isClosed());
  ASSERT_TRUE(fe().click(f, "?DOK_ZAM"));
  ASSERT_TRUE(fe().click(f, "?DOK_KONTR"));
  fe().expectColor(0x00FF00);
  ASSERT_TRUE(fe().click(f, "?BUTTON11"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->control("?BOX11")->backColor, 0x00FF00);
  fe().expectColor(std::nullopt);  // cancelled: the colour stays as it was
  ASSERT_TRUE(fe().click(f, "?BUTTON12"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->control("?BOX12")->backColor, -1);
  EXPECT_EQ(f->value("?ETYD:NAZWA"), "Etykieta O'Reilly") << "the dialog keeps what was typed";
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(label("Etykieta O'Reilly"), "010000010:65280:-1:1");
  EXPECT_EQ(programLabelReloads(), reloads + 1) << "the program reads its labels again";

  // A change shows the lists and colours; clearing a colour makes it the list's again.
  f = formOn(w, "Pilne", rt::key::F2, "Zapis zostanie zmieniony");
  ASSERT_TRUE(f);
  const std::vector<std::pair<const char*, const char*>> boxes = {
      {"?DOK_MAG", "1"}, {"?DOK_ZAM", "1"}, {"?DOK_HAN", "0"}, {"?DOK_KONTR", "0"}, {"?TABELE_DOD", "0"}};
  for (const auto& [box, value] : boxes) EXPECT_EQ(f->value(box), value) << box;
  EXPECT_EQ(f->control("?BOX11")->backColor, 255);
  ASSERT_TRUE(fe().click(f, "?BUTTON11:2"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->control("?BOX11")->backColor, -1);
  ASSERT_TRUE(fe().click(f, "?DOK_MAG"));
  ASSERT_TRUE(fe().click(f, "?TABELE_DOD"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(label("Pilne"), "010000001:-1:-1:1");

  // Cancelling changes nothing and reloads nothing.
  f = formOn(w, "Tabele", rt::key::F2, "Zapis zostanie zmieniony");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(programLabelReloads(), reloads + 2);
  fe().press(w, rt::key::Esc);
}

TEST_P(DocumentLabelWindows, DeleteAsksFirstThenTheRightThenTheForm) {
  grant("EtykDokD");
  asUser(sql::demo::kUserId);
  auto w = openList();
  ASSERT_TRUE(w);
  const char* question = "Usunięcie etykiety spowoduje odpięcie jej od wszystkich dokumentów.|Czy kontynuować?";
  int row = rowOf(w, kName, "Tabele");
  ASSERT_GT(row, 0);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", row));
  fe().expectMessage(rt::button::No, question);
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  fe().expectMessage(rt::button::Yes, question);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na usuwanie etykiet!");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na edycję etykiet!");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(fe().messages().size(), 4u);
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ETYKIETA_DOKUMENTU"), "4");
  // The right to add is there: the form opens.
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Zapis zostanie dodany");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(f));
  fe().press(w, rt::key::Esc);
  join();

  grant("EtykDokU");
  w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOf(w, kName, "Tabele")));
  fe().expectMessage(rt::button::Yes, question);
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  auto d = fe().waitForWindow("Aktualizacja rekordu");
  ASSERT_TRUE(d);
  fe().expectMessage(rt::button::Yes, "Czy na pewno usunąć ten rekord?");
  ASSERT_TRUE(fe().click(d, "?OK"));
  ASSERT_TRUE(fe().waitForClose(d));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"Klient O'Brien", "Pilne"}));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM ETYKIETA_DOKUMENTU WHERE NAZWA = 'Tabele'"), "0");
  fe().press(w, rt::key::Esc);
}

TEST_P(DocumentLabelWindows, ALabelChangedInItsFormIsWhatListsOpenedAfterwardsShow) {
  // The lists read the labels the program keeps; they were read before the change.
  reloadProgramLabels();  // this test's database, not the one of the test before
  std::vector<ProgramLabel> before = programLabels(2);
  ASSERT_FALSE(before.empty());
  auto pilne = programLabel(1);
  ASSERT_TRUE(pilne);
  EXPECT_EQ(pilne->name, "Pilne");
  EXPECT_EQ(pilne->textColour, 255);

  auto w = openList();
  ASSERT_TRUE(w);
  auto f = formOn(w, "Pilne", rt::key::F2, "Zapis zostanie zmieniony");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?ETYD:NAZWA", "Bardzo pilne 'dziś'"));
  ASSERT_TRUE(fe().click(f, "?DOK_ZAM"));  // no longer offered in the orders' list
  fe().expectColor(0x00FF00);
  ASSERT_TRUE(fe().click(f, "?BUTTON11"));
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();

  auto changed = programLabel(1);
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->name, "Bardzo pilne 'dziś'");
  EXPECT_EQ(changed->textColour, 0x00FF00);
  EXPECT_EQ(programLabels(2).size(), before.size() - 1) << "the orders' list no longer offers it";
  bool inWarehouse = false;
  for (const auto& l : programLabels(1)) inWarehouse = inWarehouse || l.id == 1;
  EXPECT_TRUE(inWarehouse);

  // A label list opened afterwards by the orders' list does not offer it either.
  start([] { ETYKIETA_DOKUMENTU_BRW("2"); });
  w = window("Lista etykiet");
  ASSERT_TRUE(w);
  EXPECT_EQ(rowOf(w, kName, "Bardzo pilne 'dziś'"), 0);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
}

SLOWNIK_ON_ALL_BACKENDS(DocumentLabelWindows);

}  // namespace
}  // namespace slownik::documents
