// The SMS template list and form played through the headless front-end.
#include <atomic>

#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "sms/template_list.h"

namespace slownik::sms {
namespace {

constexpr const char* kText = "?SMSSZ:TRESC_WIADOMOSCI";

class TemplateWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("DELETE FROM SMS_SZABLON");
    exec("INSERT INTO SMS_SZABLON (ID_SMS_SZABLONU, ID_FIRMY, PRGKOD, KONTEKST, NAZWA, TRESC_WIADOMOSCI) VALUES "
         "(1, 1, 3, 'ZAM_BRW', 'Zamówienie gotowe', 'Zamówienie {Zamowienie.Numer} czeka'), "
         "(2, 1, 3, 'KONTR_BRW', 'Powitanie', 'Witamy {Kontakt.Imie}'), "
         "(3, 1, 1, 'ZAM_BRW', 'Inny program', 'nie stąd'), "
         "(4, 7, 3, 'ZAM_BRW', 'Inna firma', 'nie nasza'), "
         "(5, 1, 3, 'ZAM_BRW', 'Anulowane', 'Zamówienie anulowane')");
  }
  std::shared_ptr<rt::Window> openList(const char* context = "ZAM_BRW") {
    start([context] { SMS_SZABLON_BRW(context); });
    return window("Szablon SMS");
  }
  //! Opens the form with F2 on the template named `name`.
  std::shared_ptr<rt::Window> change(const std::shared_ptr<rt::Window>& list, const std::string& name) {
    int row = rowOf(list, 0, name);
    EXPECT_GT(row, 0) << name;
    if (row == 0) return nullptr;
    EXPECT_TRUE(fe().clickRow(list, "?LIST", row));
    EXPECT_TRUE(fe().press(list, rt::key::F2));
    return window("Edycja szablonu");
  }
  //! Puts the text field's cursor before character `position` and inserts `item`.
  void insertAt(const std::shared_ptr<rt::Window>& form, int position, const std::string& item) {
    form->setSelection(kText, position);
    fe().expectPopup(item);
    ASSERT_TRUE(fe().click(form, "?WSTAW"));
    ASSERT_TRUE(fe().settle(form));
  }
  bool save(const std::shared_ptr<rt::Window>& form) { return fe().click(form, "?OK") && fe().waitForClose(form); }
};

TEST_P(TemplateWindows, ListsOnlyTheCompanysTemplatesOfTheContext) {
  struct Case {
    const char* context;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"ZAM_BRW", {"Anulowane", "Zamówienie gotowe"}},
      {"KONTR_BRW", {"Powitanie"}},
      {"CRM_BRW", {}},
      {"Zam'BRW", {}},  // an apostrophe in the context is only a value
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.context);
    auto w = openList(c.context);
    ASSERT_TRUE(w);
    EXPECT_EQ(column(w, 0), c.names);
    ASSERT_TRUE(fe().close(w));
    join();
  }
}

TEST_P(TemplateWindows, PickerHandsTheChosenTemplateBack) {
  std::atomic<int> response{0};
  std::atomic<long long> chosen{0};
  start([&] {
    data::GLOBALREQUEST() = data::kSelectRecord;
    SMS_SZABLON_BRW("ZAM_BRW");
    response = data::GLOBALRESPONSE();
    chosen = data::field("SMSSZ:ID_SMS_SZABLONU").integer();
  });
  auto w = window("Szablon SMS");
  ASSERT_TRUE(w);
  EXPECT_FALSE(w->control("?SELECT")->hidden);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOf(w, 0, "Zamówienie gotowe")));
  ASSERT_TRUE(fe().press(w, rt::key::Enter));
  join();
  EXPECT_EQ(response.load(), data::kRequestCompleted);
  EXPECT_EQ(chosen.load(), 1);

  start([&] {
    data::GLOBALREQUEST() = data::kSelectRecord;
    SMS_SZABLON_BRW("ZAM_BRW");
    response = data::GLOBALRESPONSE();
  });
  w = window("Szablon SMS");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_EQ(response.load(), data::kRequestCancelled);
}

TEST_P(TemplateWindows, NewTemplateGetsTheListsContextAndPlaceholdersAtTheCursor) {
  auto w = openList("ZAM_BRW");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Dodawanie szablonu");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?SMSSZ:NAZWA", "Przypomnienie O'Neill"));
  ASSERT_TRUE(fe().type(f, kText, "Zażółć gęślą jaźń"));
  insertAt(f, 18, "Zamowienie.Numer");  // the end
  EXPECT_EQ(f->value(kText), "Zażółć gęślą jaźń{Zamowienie.Numer}");
  EXPECT_EQ(f->control(kText)->selection, 36);
  insertAt(f, 8, "Kontakt.Imie");  // the start of the marked "gęślą": it stays behind
  EXPECT_EQ(f->value(kText), "Zażółć {Kontakt.Imie}gęślą jaźń{Zamowienie.Numer}");
  EXPECT_EQ(f->control(kText)->selection, 22);
  insertAt(f, 1, "Kontrahent.Nazwa");
  EXPECT_EQ(f->value(kText), "{Kontrahent.Nazwa}Zażółć {Kontakt.Imie}gęślą jaźń{Zamowienie.Numer}");
  insertAt(f, 5, "");  // dismissed
  EXPECT_EQ(f->value(kText), "{Kontrahent.Nazwa}Zażółć {Kontakt.Imie}gęślą jaźń{Zamowienie.Numer}");
  EXPECT_EQ(f->control(kText)->selection, 5);
  // The menu offered the order fields, not those of other contexts.
  auto menu = fe().popupsShown().front();
  EXPECT_NE(std::find(menu.begin(), menu.end(), "Zamowienie.Uwagi"), menu.end());
  EXPECT_EQ(std::find(menu.begin(), menu.end(), "Crm.Typ"), menu.end());
  ASSERT_TRUE(save(f));
  EXPECT_EQ(scalar("SELECT KONTEKST || '/' || PRGKOD || '/' || ID_FIRMY FROM SMS_SZABLON WHERE NAZWA = "
                   "'Przypomnienie O''Neill'"),
            "ZAM_BRW/3/1");
  EXPECT_EQ(scalar("SELECT TRESC_WIADOMOSCI FROM SMS_SZABLON WHERE NAZWA = 'Przypomnienie O''Neill'"),
            "{Kontrahent.Nazwa}Zażółć {Kontakt.Imie}gęślą jaźń{Zamowienie.Numer}");
  ASSERT_TRUE(fe().settle(w));
  EXPECT_GT(rowOf(w, 0, "Przypomnienie O'Neill"), 0);
}

TEST_P(TemplateWindows, WithoutPolishLettersKeepsApostrophesAndTheRestOfTheText) {
  auto w = openList("KONTR_BRW");
  ASSERT_TRUE(w);
  auto f = change(w, "Powitanie");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, kText, "Żółta 'Łódź' – zniżka 20%  "));
  ASSERT_TRUE(fe().click(f, "?BEZPOLSKICH"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->value(kText), "Zolta 'Lodz' – znizka 20%  ");
  ASSERT_TRUE(save(f));
  EXPECT_EQ(scalar("SELECT TRESC_WIADOMOSCI FROM SMS_SZABLON WHERE ID_SMS_SZABLONU = 2"), "Zolta 'Lodz' – znizka 20%  ");
}

TEST_P(TemplateWindows, NamesAreRequiredAndUniqueWithinTheCompany) {
  auto w = openList("ZAM_BRW");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Dodawanie szablonu");
  ASSERT_TRUE(f);
  fe().expectMessage(rt::button::Ok, "Proszę wprowadzić nazwę!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->focus(), "?SMSSZ:NAZWA");
  // Another context's name counts too: names are per company, not per list.
  ASSERT_TRUE(fe().type(f, "?SMSSZ:NAZWA", "Powitanie"));
  fe().expectMessage(rt::button::Ok, "Szablon SMS o podanej nazwie już istnieje.|Proszę wprowadzić inną nazwę!");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->focus(), "?SMSSZ:NAZWA");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM SMS_SZABLON"), "5");
  // Another company's name is free.
  ASSERT_TRUE(fe().type(f, "?SMSSZ:NAZWA", "Inna firma"));
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().settle(w));

  // A change skips the row itself, refuses another of the company's names, and can be
  // saved again under a name some other company uses.
  f = change(w, "Inna firma");
  ASSERT_TRUE(f);
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().settle(w));
  f = change(w, "Zamówienie gotowe");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?SMSSZ:NAZWA", "Anulowane"));
  fe().expectMessage(rt::button::Ok, "Szablon SMS o podanej nazwie już istnieje.");
  ASSERT_TRUE(fe().click(f, "?OK"));
  ASSERT_TRUE(fe().settle(f));
  ASSERT_TRUE(fe().click(f, "?CANCEL"));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM SMS_SZABLON WHERE NAZWA = 'Zamówienie gotowe'"), "1");
}

TEST_P(TemplateWindows, AViewOnlyListCallsNoForm) {
  start([] {
    data::GLOBALREQUEST() = data::kViewRecord;
    SMS_SZABLON_BRW("ZAM_BRW");
  });
  auto w = window("Szablon SMS");
  ASSERT_TRUE(w);
  for (int key : {rt::key::Ins, rt::key::F2, rt::key::Del}) {
    ASSERT_TRUE(fe().press(w, key));
    ASSERT_TRUE(fe().settle(w));
    EXPECT_EQ(rt::openWindows().size(), 1u) << "key " << key << " opened a form";
  }
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM SMS_SZABLON"), "5");
}

TEST_P(TemplateWindows, DeleteGoesThroughTheFormInDeleteMode) {
  auto w = openList("ZAM_BRW");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOf(w, 0, "Anulowane")));
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  auto f = window("Aktualizacja rekordu");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?SMSSZ:NAZWA"), "Anulowane");
  fe().expectMessage(rt::button::Yes);
  ASSERT_TRUE(save(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM SMS_SZABLON WHERE ID_SMS_SZABLONU = 5"), "0");
  EXPECT_EQ(column(w, 0), (std::vector<std::string>{"Zamówienie gotowe"}));
}

SLOWNIK_ON_ALL_BACKENDS(TemplateWindows);

}  // namespace
}  // namespace slownik::sms
