// The unit chooser of a document position and its quantity-change window, played through
// the headless front-end.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "dictionaries/documents/article_unit_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"

namespace slownik::documents {
namespace {

constexpr std::size_t kSymbol = 0;  // list-buffer fields, 0-based
constexpr std::size_t kName = 1;
constexpr std::size_t kQuantity = 3;
constexpr double kArticle = 7;
constexpr double kBaseUnit = 1;

struct Outcome {
  std::atomic<int> response{-1};
  double result = 0;       // read after join()
  std::string unitSymbol;  // JED:SKROT left in the buffer
  std::string unitId;
};

struct PositionArgs {
  double articleId = kArticle;
  double baseQuantity = 10;
  double quantity = 10;
  double factor = 1;
  const char* symbol = "szt";
};

class ArticleUnitWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("DELETE FROM JEDNOSTKA");
    // Article 7 has its half-kilo, its kilogram and its O'Neill pack (indivisible); its
    // base unit is the piece. Article 8's box, a unit of no article and another company's
    // unit are not the article's.
    exec("INSERT INTO JEDNOSTKA (ID_ARTYKULU, ID_FIRMY, ID_JEDNOSTKI, NAZWA, PODZIELNA, PRZELICZNIK, SKROT) VALUES "
         "(0, 1, 1, 'sztuka', 0, 1, 'szt'), "
         "(7, 1, 2, 'pół kilograma', 1, 0.5, 'pk'), "
         "(7, 1, 3, 'paczka O''Neill', 0, 3, 'pacz'), "
         "(7, 1, 4, 'kilogram', 1, 2.5, 'kg'), "
         "(8, 1, 5, 'karton', 0, 12, 'kart'), "
         "(0, 1, 6, 'litr', 1, 1, 'l'), "
         "(7, 2, 7, 'obca', 1, 1, 'ob')");
  }

  std::shared_ptr<Outcome> openChooser(PositionArgs p = {}) {
    auto out = std::make_shared<Outcome>();
    start([out, p] {
      data::GLOBALREQUEST() = data::kSelectRecord;
      out->result = WYBIERZJEDNOSTKEARTYKULU(p.articleId, kBaseUnit, p.baseQuantity, p.quantity, p.factor, p.symbol);
      out->response = data::GLOBALRESPONSE();
      out->unitSymbol = data::field("JED:SKROT").text();
      out->unitId = data::field("JED:ID_JEDNOSTKI").text();
    });
    return out;
  }
  bool highlight(const std::shared_ptr<rt::Window>& w, const std::string& symbol) {
    int row = rowOf(w, kSymbol, symbol);
    EXPECT_GT(row, 0) << symbol << " is not listed";
    return row > 0 && fe().clickRow(w, "?LIST", row);
  }
  //! Texts of the message boxes shown, from the `from`-th on.
  std::vector<std::string> warnings(std::size_t from = 0) {
    std::vector<std::string> out;
    auto shown = fe().messages();
    for (std::size_t i = from; i < shown.size(); ++i) out.push_back(shown[i].text);
    return out;
  }
};

TEST_P(ArticleUnitWindows, ListsTheArticlesUnitsWithThePositionConvertedIntoEach) {
  auto out = openChooser();
  auto w = window("Wybierz jednostkę");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->control("?WYBRANAJEDNOSTKA")->text, "Ilość na pozycji: 10 szt");
  EXPECT_FALSE(w->control("?SELECT")->hidden);
  EXPECT_EQ(column(w, kSymbol), (std::vector<std::string>{"kg", "pacz", "pk", "szt"}));
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"kilogram", "paczka O'Neill", "pół kilograma", "sztuka"}));
  EXPECT_EQ(column(w, kQuantity), (std::vector<std::string>{"4,0000", "3,3333", "20,0000", "10,0000"}));

  // Sorted by the converted quantity through its header.
  ASSERT_TRUE(fe().clickHeader(w, "?LIST", 4));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(column(w, kSymbol), (std::vector<std::string>{"pacz", "kg", "szt", "pk"}));

  // A highlighted divisible unit, closed without a choice: nothing cut, nothing said.
  ASSERT_TRUE(highlight(w, "kg"));
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_EQ(out->response, data::kRequestCancelled);
  EXPECT_DOUBLE_EQ(out->result, 10);
  EXPECT_TRUE(warnings().empty());
}

TEST_P(ArticleUnitWindows, AnArticleWithoutUnitsOfItsOwnListsItsBaseUnitOnly) {
  openChooser({.articleId = 99});
  auto w = window("Wybierz jednostkę");
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kSymbol), (std::vector<std::string>{"szt"}));
  fe().press(w, rt::key::Esc);
}

TEST_P(ArticleUnitWindows, ChoosingKeepsOrConvertsTheQuantityAndCutsItForIndivisibleUnits) {
  const struct {
    const char* what;
    double quantity;  // also the base quantity: the position is in pieces
    const char* unit;
    int key;
    int response;
    double result;
    const char* warning;  // "" = none
  } cases[] = {
      {"as typed, indivisible", 2.5, "szt", rt::key::Enter, data::kRequestCompleted, 2, "wzięto 2 jednostek artykułu."},
      {"as typed, divisible", 2.5, "pk", rt::key::Enter, data::kRequestCompleted, 2.5, ""},
      {"converted, divisible", 2.5, "pk", rt::key::F10, data::kRequestCompleted, 5, ""},
      {"converted, indivisible", 10, "pacz", rt::key::F10, data::kRequestCompleted, 3, "wzięto 3 jednostek artykułu."},
      {"converted, fractional", 10, "kg", rt::key::F10, data::kRequestCompleted, 4, ""},
      {"closed on an indivisible unit", 2.5, "pacz", rt::key::Esc, data::kRequestCancelled, 2,
       "wzięto 2 jednostek artykułu."},
      {"closed on a whole quantity", 3, "pacz", rt::key::Esc, data::kRequestCancelled, 3, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t before = fe().messages().size();
    auto out = openChooser({.baseQuantity = c.quantity, .quantity = c.quantity});
    auto w = window("Wybierz jednostkę");
    ASSERT_TRUE(w);
    ASSERT_TRUE(highlight(w, c.unit));
    if (*c.warning) fe().expectMessage(rt::button::Ok, c.warning);
    ASSERT_TRUE(fe().press(w, c.key));
    join();
    EXPECT_EQ(out->response, c.response);
    EXPECT_DOUBLE_EQ(out->result, c.result);
    if (c.response == data::kRequestCompleted) {
      EXPECT_EQ(out->unitSymbol, c.unit);
    }
    std::vector<std::string> shown = warnings(before);
    if (*c.warning) {
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_NE(shown[0].find("Wybrana jednostka jest niepodzielna!"), std::string::npos) << shown[0];
    } else {
      EXPECT_TRUE(shown.empty());
    }
  }
}

TEST_P(ArticleUnitWindows, ChangeWindowChangesThePositionsQuantityInEitherUnit) {
  auto out = openChooser();
  auto w = window("Wybierz jednostkę");
  ASSERT_TRUE(w);
  ASSERT_TRUE(highlight(w, "kg"));

  // Cancelled: nothing changes.
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto c = window("Zmiana ilości w jednostce");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->value("?ILOSC_J_WYB"), "10,0000");
  EXPECT_EQ(c->value("?JEDNOSTKA_WYBRANA"), "szt");
  EXPECT_EQ(c->value("?ILOSC_J_NOWEJ"), "4,0000");
  EXPECT_EQ(c->value("?JEDNOSTKA_NOWA"), "kg");
  ASSERT_TRUE(fe().type(c, "?ILOSC_J_WYB", "5"));
  ASSERT_TRUE(fe().settle(c));
  EXPECT_EQ(c->value("?ILOSC_J_NOWEJ"), "2,0000");
  ASSERT_TRUE(fe().press(c, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(c));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(w->control("?WYBRANAJEDNOSTKA")->text, "Ilość na pozycji: 10 szt");
  EXPECT_EQ(column(w, kQuantity), (std::vector<std::string>{"4,0000", "3,3333", "20,0000", "10,0000"}));
  EXPECT_EQ(w->focus(), "?LIST");

  // Typed in kilograms: 4 kg are 10 pieces; 3 kg are 7.5. What can't be read is not kept.
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  c = window("Zmiana ilości w jednostce");
  ASSERT_TRUE(c);
  ASSERT_TRUE(fe().type(c, "?ILOSC_J_NOWEJ", "4"));
  ASSERT_TRUE(fe().settle(c));
  EXPECT_EQ(c->value("?ILOSC_J_WYB"), "10,0000");
  ASSERT_TRUE(fe().type(c, "?ILOSC_J_NOWEJ", "3"));
  ASSERT_TRUE(fe().settle(c));
  EXPECT_EQ(c->value("?ILOSC_J_WYB"), "7,5000");
  ASSERT_TRUE(fe().type(c, "?ILOSC_J_WYB", "abc"));
  ASSERT_TRUE(fe().settle(c));
  EXPECT_EQ(c->value("?ILOSC_J_WYB"), "7,5000");
  EXPECT_EQ(c->value("?ILOSC_J_NOWEJ"), "3,0000");
  ASSERT_TRUE(fe().press(c, rt::key::F10));
  ASSERT_TRUE(fe().waitForClose(c));
  ASSERT_TRUE(fe().settle(w));

  // The chooser now holds 7.5 pieces and converts from them.
  EXPECT_EQ(w->control("?WYBRANAJEDNOSTKA")->text, "Ilość na pozycji: 7.5 szt");
  EXPECT_EQ(column(w, kQuantity), (std::vector<std::string>{"3,0000", "2,5000", "15,0000", "7,5000"}));
  EXPECT_EQ(w->focus(), "?LIST");
  ASSERT_TRUE(highlight(w, "pk"));
  ASSERT_TRUE(fe().press(w, rt::key::Enter));
  join();
  EXPECT_EQ(out->response, data::kRequestCompleted);
  EXPECT_DOUBLE_EQ(out->result, 7.5);
  EXPECT_EQ(out->unitId, "2");
}

TEST_P(ArticleUnitWindows, AUnitWithoutAFactorIsShownButConvertsNothing) {
  exec("INSERT INTO JEDNOSTKA (ID_ARTYKULU, ID_FIRMY, ID_JEDNOSTKI, NAZWA, PODZIELNA, PRZELICZNIK, SKROT) VALUES "
       "(7, 1, 8, 'bez przelicznika', 1, 0, 'zero')");
  auto out = openChooser();
  auto w = window("Wybierz jednostkę");
  ASSERT_TRUE(w);
  int row = rowOf(w, kSymbol, "zero");
  ASSERT_GT(row, 0);
  EXPECT_EQ(rows(w)[static_cast<std::size_t>(row - 1)][kQuantity], "");
  ASSERT_TRUE(highlight(w, "zero"));
  for (int key : {rt::key::F10, rt::key::F2}) {
    fe().expectMessage(rt::button::Ok, "Jednostka zero nie ma przelicznika!");
    ASSERT_TRUE(fe().press(w, key));
    ASSERT_TRUE(fe().settle(w));
  }
  EXPECT_EQ(warnings().size(), 2u);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_EQ(out->response, data::kRequestCancelled);
  EXPECT_DOUBLE_EQ(out->result, 10);
}

SLOWNIK_ON_ALL_BACKENDS(ArticleUnitWindows);

}  // namespace
}  // namespace slownik::documents
