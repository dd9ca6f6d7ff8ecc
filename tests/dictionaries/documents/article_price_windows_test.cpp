// The price chooser of a document position played through the headless front-end.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "dictionaries/documents/article_price_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"

namespace slownik::documents {
namespace {

constexpr std::size_t kName = 0;  // list-buffer fields, 0-based
constexpr std::size_t kNet = 1;
constexpr std::size_t kGross = 2;

struct Outcome {
  std::atomic<int> response{-1};
  // The buffers the caller reads, after join().
  std::string priceType, name, categoryPriceType, net, gross, pricedArticle;
};

class ArticlePriceWindows : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("DELETE FROM CENA_ARTYKULU");
    exec("DELETE FROM CENA_KATEGORII");
    exec("DELETE FROM CENA");
    exec("INSERT INTO CENA (ID_CENY, ID_FIRMY, NAZWA) VALUES "
         "(1, 1, 'Detaliczna'), (2, 1, 'Hurtowa'), (3, 1, 'Cena O''Briena'), (4, 1, 'Eksportowa')");
    // Category 5 offers three types, category 6 one; the export price is in no category.
    exec("INSERT INTO CENA_KATEGORII (ID_CENY, ID_KATEGORII) VALUES (1, 5), (2, 5), (3, 5), (1, 6)");
    // Article 7 has a retail and an O'Brien price, no wholesale one; article 8's
    // wholesale price is not article 7's.
    exec("INSERT INTO CENA_ARTYKULU (ID_CENY, ID_ARTYKULU, CENA_NETTO, CENA_BRUTTO, NARZUT) VALUES "
         "(1, 7, 10.00, 12.30, 0), (3, 7, 5.5, 6.765, 0), (2, 8, 99, 121.77, 0), (4, 7, 1, 1, 0)");
  }

  std::shared_ptr<Outcome> openChooser(double category, double article = 7) {
    auto out = std::make_shared<Outcome>();
    start([out, category, article] {
      data::field("ART:ID_ARTYKULU").set(article);  // the article the caller has loaded
      data::GLOBALREQUEST() = data::kSelectRecord;
      WYBIERZCENEARTYKULU_SLOWNIK(category);
      out->response = data::GLOBALRESPONSE();
      out->priceType = data::field("CEN:ID_CENY").text();
      out->name = data::field("CEN:NAZWA").text();
      out->categoryPriceType = data::field("CENKAT:ID_CENY").text();
      out->net = data::field("CENART:CENA_NETTO").text();
      out->gross = data::field("CENART:CENA_BRUTTO").text();
      out->pricedArticle = data::field("CENART:ID_ARTYKULU").text();
    });
    return out;
  }
};

TEST_P(ArticlePriceWindows, ShowsTheCategorysPriceTypesWithTheArticlesPrices) {
  openChooser(5);
  auto w = window("Wybierz Cenę");
  ASSERT_TRUE(w);
  EXPECT_FALSE(w->control("?SELECT")->hidden);
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"Detaliczna", "Hurtowa", "Cena O'Briena"}));
  EXPECT_EQ(column(w, kNet), (std::vector<std::string>{"10,00", "0,00", "5,50"}));
  EXPECT_EQ(column(w, kGross), (std::vector<std::string>{"12,30", "0,00", "6,77"}));

  // A price given meanwhile shows after F5; the gross price's header sorts by it.
  exec("INSERT INTO CENA_ARTYKULU (ID_CENY, ID_ARTYKULU, CENA_NETTO, CENA_BRUTTO, NARZUT) VALUES (2, 7, 8, 9.84, 0)");
  ASSERT_TRUE(fe().press(w, rt::key::F5));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(column(w, kGross), (std::vector<std::string>{"12,30", "9,84", "6,77"}));
  ASSERT_TRUE(fe().clickHeader(w, "?LIST", 3));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"Cena O'Briena", "Hurtowa", "Detaliczna"}));
  fe().press(w, rt::key::Esc);
  join();

  openChooser(6);
  w = window("Wybierz Cenę");
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kName), (std::vector<std::string>{"Detaliczna"}));
  fe().press(w, rt::key::Esc);
  join();

  // Another article sees its own prices in the same category.
  openChooser(5, 8);
  w = window("Wybierz Cenę");
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kNet), (std::vector<std::string>{"0,00", "99,00", "0,00"}));
  fe().press(w, rt::key::Esc);
}

TEST_P(ArticlePriceWindows, HandsTheChosenPriceBackInTheBuffers) {
  const struct {
    const char* name;
    int row;
    std::string priceType, net, gross, pricedArticle;
  } cases[] = {
      {"Detaliczna", 1, "1", "10.0000", "12.3000", "7"},
      {"Cena O'Briena", 3, "3", "5.5000", "6.7650", "7"},
      // No price of this type: chosen all the same, with the price buffer cleared.
      {"Hurtowa", 2, "2", "0.0000", "0.0000", "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto out = openChooser(5);
    auto w = window("Wybierz Cenę");
    ASSERT_TRUE(w);
    ASSERT_TRUE(fe().clickRow(w, "?LIST", c.row));
    ASSERT_TRUE(fe().press(w, rt::key::Enter));
    join();
    EXPECT_EQ(out->response, data::kRequestCompleted);
    EXPECT_EQ(out->name, c.name);
    EXPECT_EQ(out->priceType, c.priceType);
    EXPECT_EQ(out->categoryPriceType, c.priceType);
    EXPECT_EQ(out->net, c.net);
    EXPECT_EQ(out->gross, c.gross);
    EXPECT_EQ(out->pricedArticle, c.pricedArticle);
  }

  auto out = openChooser(5);
  auto w = window("Wybierz Cenę");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_EQ(out->response, data::kRequestCancelled);
}

SLOWNIK_ON_ALL_BACKENDS(ArticlePriceWindows);

}  // namespace
}  // namespace slownik::documents
