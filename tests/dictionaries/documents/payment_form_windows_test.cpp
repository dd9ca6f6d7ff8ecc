// The payment forms played through the headless front-end.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "dictionaries/documents/payment_form_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/list_format.h"
#include "framework/services/window_parameters.h"

namespace slownik::documents {
namespace {

struct Picked {
  std::atomic<int> response{-1};
  std::string code;  // FORP:KOD left in the buffer, read after join()
};

class PaymentFormWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // Beside the demo's shared forms: one bound to the demo's payment operator, one of
    // another company and one switched off.
    exec(
        "INSERT INTO FORMA_PLATNOSCI (ID_FORMY, KOD, NAZWA, SYSTEMOWY, DNI_NALEZNOSCI, DNI_ZOBOWIAZAN, AKTYWNA, "
        "ID_FIRMY, ID_PLATNIKA, GEN_AUTO_ROZLICZ, WLICZAJ_DO_LIMITU) VALUES "
        "(7, 'OP', 'u operatora', 0, 3, 3, 1, 1, 2, 2, 0), "
        "(8, 'X2', 'obca firma', 0, 0, 0, 1, 2, 0, 0, 0), "
        "(9, 'NA', 'nieaktywna', 0, 0, 0, 0, 0, 0, 0, 0)");
  }

  std::shared_ptr<rt::Window> openList() {
    start([] { FORMA_PLATNOSCI_BRW(0); });
    return window("Formy płatności");
  }
  std::shared_ptr<Picked> openPicker(std::uint8_t cashAndCardOnly, std::string name) {
    auto out = std::make_shared<Picked>();
    start([out, cashAndCardOnly, name] {
      data::field("FORP:NAZWA").set(name);
      data::GLOBALREQUEST() = data::kSelectRecord;
      FORMA_PLATNOSCI_BRW(cashAndCardOnly);
      out->response = data::GLOBALRESPONSE();
      out->code = data::field("FORP:KOD").text();
    });
    return out;
  }
  //! The list-buffer column (0-based) a header shows.
  static std::size_t at(const std::shared_ptr<rt::Window>& w, const std::string& header, bool icon = false) {
    auto format = rt::ListFormat::parse(w->control("?LIST")->format);
    for (const auto& c : format->columns)
      if (c.header == header) return static_cast<std::size_t>((icon ? c.iconField : c.field) - 1);
    ADD_FAILURE() << "no column " << header;
    return 0;
  }
  static std::vector<std::string> codes(const std::shared_ptr<rt::Window>& w) { return column(w, at(w, "Kod")); }
  //! Selects the row of a code.
  void pick(const std::shared_ptr<rt::Window>& w, const std::string& code) {
    int row = rowOf(w, at(w, "Kod"), code);
    ASSERT_GT(row, 0) << code;
    ASSERT_TRUE(fe().clickRow(w, "?LIST", row));
  }
  std::shared_ptr<rt::Window> change(const std::shared_ptr<rt::Window>& w, const std::string& code) {
    pick(w, code);
    if (HasFatalFailure()) return nullptr;
    EXPECT_TRUE(fe().press(w, rt::key::F2));
    return window("Edycja formy płatności");
  }
  void save(const std::shared_ptr<rt::Window>& f, const std::shared_ptr<rt::Window>& w) {
    ASSERT_TRUE(fe().click(f, "?OK"));
    ASSERT_TRUE(fe().waitForClose(f));
    ASSERT_TRUE(fe().settle(w));
  }
  //! Clicks "Zapisz" expecting a refusal that keeps the form open on the name.
  void refused(const std::shared_ptr<rt::Window>& f, const std::string& message) {
    fe().expectMessage(rt::button::Ok, message);
    ASSERT_TRUE(fe().click(f, "?OK"));
    ASSERT_TRUE(fe().settle(f));
    EXPECT_FALSE(f->isClosed());
    EXPECT_EQ(f->focus(), "?FORP:NAZWA");
  }
  std::string row(int id, const std::string& columns) {
    return scalar("SELECT " + columns + " FROM FORMA_PLATNOSCI WHERE ID_FORMY = " + std::to_string(id));
  }
};

TEST_P(PaymentFormWindows, ListsTheSharedAndOwnFormsWithTheirComputedColumns) {
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?SORT"), "kod") << "nothing stored yet";
  EXPECT_EQ(codes(w), (std::vector<std::string>{"G", "K", "KOM", "KR", "NA", "OP", "P", "PB"}))
      << "the other company's form is not listed";
  const struct {
    const char* code;
    const char* system;  // icon numbers
    const char* active;
    const char* letter;
    const char* limit;
    const char* terms;
    const char* payer;
  } cases[] = {
      {"G", "1", "Tak", "K", "0", "0", ""},
      {"K", "1", "Tak", "I", "0", "0", ""},
      {"P", "1", "Tak", "", "1", "14", ""},
      {"NA", "0", "Nie", "", "0", "0", ""},
      {"OP", "0", "Tak", "I", "0", "3", "O'Neill Polska"},
  };
  for (const auto& r : cases) {
    SCOPED_TRACE(r.code);
    auto line = rows(w)[static_cast<std::size_t>(rowOf(w, at(w, "Kod"), r.code) - 1)];
    EXPECT_EQ(line[at(w, "S", true)], r.system);
    EXPECT_EQ(line[at(w, "S")], "") << "the mark shows as its icon alone";
    EXPECT_EQ(line[at(w, "Aktywna")], r.active);
    EXPECT_EQ(line[at(w, "G.")], r.letter);
    EXPECT_EQ(line[at(w, "L.", true)], r.limit);
    EXPECT_EQ(line[at(w, "Dni należ.")], r.terms);
    EXPECT_EQ(line[at(w, "Operator płatności")], r.payer);
  }
  EXPECT_FALSE(w->control("?BUTTONA")->hidden);
  fe().press(w, rt::key::Esc);
}

TEST_P(PaymentFormWindows, TheSortChoiceIsKeptBetweenOpenings) {
  const struct {
    const char* stored;  // nullptr: chosen in the window instead
    const char* shown;
  } cases[] = {
      {nullptr, "nazwa"},
      {"kod", "kod"},
      {"nazwa", "nazwa"},
      {"#nazwa", "nazwa"},  // a value the list doesn't know sorts by name
  };
  for (const auto& r : cases) {
    SCOPED_TRACE(r.stored ? r.stored : "chosen");
    if (r.stored) {
      ASSERT_EQ(svc::ZAPISZPARAMETROKNA("Forma_Platnosci_Brw", "sortowanie", r.stored), 0);
    }
    auto w = openList();
    ASSERT_TRUE(w);
    if (!r.stored) {
      ASSERT_TRUE(fe().choose(w, "?SORT", "nazwa"));
      ASSERT_TRUE(fe().settle(w));
    }
    EXPECT_EQ(w->value("?SORT"), r.shown);
    std::vector<std::string> want = std::string(r.shown) == "kod"
                                        ? std::vector<std::string>{"G", "K", "KOM", "KR", "NA", "OP", "P", "PB"}
                                        : std::vector<std::string>{"G", "K", "KOM", "KR", "NA", "P", "OP", "PB"};
    EXPECT_EQ(codes(w), want);
    ASSERT_TRUE(fe().press(w, rt::key::Esc));
    join();
    EXPECT_EQ(svc::POBIERZPARAMETROKNA("Forma_Platnosci_Brw", "sortowanie"), r.shown);
  }
}

TEST_P(PaymentFormWindows, F4AndThePopupSwitchTheHighlightedForm) {
  auto w = openList();
  ASSERT_TRUE(w);
  pick(w, "KR");
  ASSERT_TRUE(fe().press(w, rt::key::F4));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(row(6, "AKTYWNA"), "0");
  EXPECT_EQ(rows(w)[static_cast<std::size_t>(rowOf(w, at(w, "Kod"), "KR") - 1)][at(w, "Aktywna")], "Nie");
  EXPECT_EQ(w->focus(), "?LIST");
  fe().expectPopup("Aktywna <F4>");
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST", rowOf(w, at(w, "Kod"), "KR")));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(row(6, "AKTYWNA"), "1");
  EXPECT_EQ(row(9, "AKTYWNA"), "0") << "only the highlighted form";
  fe().press(w, rt::key::Esc);
}

TEST_P(PaymentFormWindows, APickerOffersActiveFormsAndOpensOnTheCallersName) {
  auto out = openPicker(0, "przelew");
  auto w = window("Formy płatności");
  ASSERT_TRUE(w);
  EXPECT_EQ(codes(w), (std::vector<std::string>{"G", "K", "KOM", "KR", "OP", "P", "PB"}));
  EXPECT_TRUE(w->control("?BUTTONA")->hidden);
  int selected = w->control("?LIST")->selection;
  ASSERT_GT(selected, 0);
  EXPECT_EQ(codes(w)[static_cast<std::size_t>(selected - 1)], "P");
  ASSERT_TRUE(fe().press(w, rt::key::Enter));
  join();
  EXPECT_EQ(out->response, data::kRequestCompleted);
  EXPECT_EQ(out->code, "P");

  // Cash and card only; a name with an apostrophe that no form has leaves the list at its top.
  out = openPicker(1, "O'Brien");
  w = window("Formy płatności");
  ASSERT_TRUE(w);
  EXPECT_EQ(codes(w), (std::vector<std::string>{"G", "K"}));
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_EQ(out->response, data::kRequestCancelled);
}

TEST_P(PaymentFormWindows, NamesAndCodesAreRequiredAndUniqueInAnyLetters) {
  auto w = openList();
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto f = window("Dodawanie formy płatności");
  ASSERT_TRUE(f);
  refused(f, "Nazwa formy płatności musi być wypełniona!");
  ASSERT_TRUE(fe().type(f, "?FORP:NAZWA", "PRZELEW"));
  refused(f, "Uwaga!|Forma płatności przelew już istnieje w kartotece!");
  ASSERT_TRUE(fe().type(f, "?FORP:NAZWA", "Płatność 'ekspres'"));
  refused(f, "Kod formy płatności musi być wypełniony!");
  ASSERT_TRUE(fe().type(f, "?FORP:KOD", "p"));
  refused(f, "Uwaga!|Forma płatności o kodzie p już istnieje w kartotece pod nazwą przelew!");
  ASSERT_TRUE(fe().type(f, "?FORP:KOD", "E'"));
  ASSERT_TRUE(fe().type(f, "?FORP:DNI_NALEZNOSCI", "21"));
  save(f, w);
  EXPECT_EQ(
      scalar("SELECT KOD || '|' || AKTYWNA || '|' || SYSTEMOWY || '|' || ID_FIRMY || '|' || ID_PLATNIKA || '|' || "
             "DNI_NALEZNOSCI FROM FORMA_PLATNOSCI WHERE NAZWA = 'Płatność ''ekspres'''"),
      "E'|1|0|0|0|21")
      << "a new form is active, not a system one, and shared by every company";
  EXPECT_GT(rowOf(w, at(w, "Kod"), "E'"), 0) << "listed in its company";

  // Its own name in other letters is no conflict; another form's name is.
  f = change(w, "KR");
  ASSERT_TRUE(f);
  ASSERT_TRUE(fe().type(f, "?FORP:NAZWA", "Gotówka"));
  refused(f, "Uwaga!|Forma płatności gotówka już istnieje w kartotece!");
  ASSERT_TRUE(fe().type(f, "?FORP:NAZWA", "KREDYT KUPIECKI"));
  save(f, w);
  EXPECT_EQ(row(6, "NAZWA"), "KREDYT KUPIECKI");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FORMA_PLATNOSCI"), "10");
}

TEST_P(PaymentFormWindows, TheOperatorIsPickedAmongOperatorsAndCleared) {
  exec(
      "INSERT INTO KONTRAHENT (ID_KONTRAHENTA, ID_FIRMY, NAZWA, OPERATOR_PLATNOSCI, FLAGA_STANU) VALUES "
      "(30, 1, 'Zwykły klient', 0, 0)");
  auto w = openList();
  ASSERT_TRUE(w);
  auto f = change(w, "KR");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->text("?OPERATOR"), "");
  ASSERT_TRUE(fe().click(f, "?BUTTONK"));
  auto p = window("Wybierz kontrahenta");
  ASSERT_TRUE(p);
  EXPECT_EQ(column(p, 1), (std::vector<std::string>{"O'Neill Polska"})) << "operators only";
  ASSERT_TRUE(fe().press(p, rt::key::Enter));
  ASSERT_TRUE(fe().waitForClose(p));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->text("?OPERATOR"), "O'Neill Polska");
  EXPECT_EQ(f->focus(), "?BUTTONC");
  save(f, w);
  EXPECT_EQ(row(6, "ID_PLATNIKA || '|' || ID_FIRMY"), "2|1") << "bound to the operator's company";
  EXPECT_EQ(rows(w)[static_cast<std::size_t>(rowOf(w, at(w, "Kod"), "KR") - 1)][at(w, "Operator płatności")],
            "O'Neill Polska");

  // A cancelled pick changes nothing; clearing makes the form shared again.
  f = change(w, "OP");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->text("?OPERATOR"), "O'Neill Polska");
  ASSERT_TRUE(fe().click(f, "?BUTTONK"));
  p = window("Wybierz kontrahenta");
  ASSERT_TRUE(p);
  ASSERT_TRUE(fe().press(p, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(p));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->text("?OPERATOR"), "O'Neill Polska");
  ASSERT_TRUE(fe().click(f, "?BUTTONC"));
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->text("?OPERATOR"), "");
  save(f, w);
  EXPECT_EQ(row(7, "ID_PLATNIKA || '|' || ID_FIRMY"), "0|0");
}

TEST_P(PaymentFormWindows, ASystemFormKeepsItsNameAndOperator) {
  auto w = openList();
  ASSERT_TRUE(w);
  auto f = change(w, "P");
  ASSERT_TRUE(f);
  for (const char* control : {"?FORP:NAZWA", "?BUTTONK", "?BUTTONC"})
    EXPECT_FALSE(f->control(control)->enabled) << control;
  EXPECT_TRUE(f->control("?FORP:KOD")->enabled);
  ASSERT_TRUE(fe().type(f, "?FORP:DNI_ZOBOWIAZAN", "30"));
  save(f, w);
  EXPECT_EQ(row(2, "NAZWA || '|' || DNI_ZOBOWIAZAN"), "przelew|30");
}

TEST_P(PaymentFormWindows, RightsAndSystemFormsGuardTheActions) {
  grant("UFormPlat");
  asUser(sql::demo::kUserId);
  auto w = openList();
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dodawanie form płatności!");
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  ASSERT_TRUE(fe().settle(w));
  pick(w, "KR");
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na edycję form płatności!");
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  ASSERT_TRUE(fe().settle(w));
  // A system form is refused before the right is asked.
  pick(w, "G");
  fe().expectMessage(rt::button::Ok, "Nie można usunąć systemowej formy płatności!");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  ASSERT_TRUE(fe().settle(w));
  ASSERT_EQ(fe().messages().size(), 3u);
  EXPECT_EQ(fe().messages()[0].title, "Ostrzeżenie");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM FORMA_PLATNOSCI"), "9");

  // With the right to delete, an ordinary form goes.
  pick(w, "KR");
  ASSERT_TRUE(fe().press(w, rt::key::Del));
  auto d = window("Aktualizacja rekordu");
  ASSERT_TRUE(d);
  fe().expectMessage(rt::button::Yes, "Czy na pewno usunąć ten rekord?");
  ASSERT_TRUE(fe().click(d, "?OK"));
  ASSERT_TRUE(fe().waitForClose(d));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(row(6, "COUNT(*)"), "0");
  EXPECT_EQ(rowOf(w, at(w, "Kod"), "KR"), 0);
  fe().press(w, rt::key::Esc);
}

SLOWNIK_ON_ALL_BACKENDS(PaymentFormWindows);

}  // namespace
}  // namespace slownik::documents
