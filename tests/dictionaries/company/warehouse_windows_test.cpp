// The warehouse list and form played through the headless front-end, checked against the
// database. The demo company 1 has the warehouses 1 "MG" "Magazyn główny" and
// 2 "MH" "Magazyn hurtowy", both at work; the user works in warehouse 1.
#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "dictionaries/company/warehouse_form.h"
#include "dictionaries/company/warehouse_list.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/window.h"
#include "framework/services/window_parameters.h"
#include "framework/sql/text.h"

namespace slownik::company {
namespace {

// List-buffer fields of a row (0-based): the mark column's text and icon, column "A"'s
// text and icon, then symbol, name, mark, shop, location and state.
constexpr std::size_t kMarkIconField = 1;
constexpr std::size_t kCurrentIconField = 3;
constexpr std::size_t kSymbolField = 4;
constexpr std::size_t kShopField = 7;

constexpr long long kJan = sql::demo::kUserId;
constexpr const char* kTitle = "Lista magazynów";

struct Outcome {
  std::atomic<int> response{-1};
  std::atomic<double> chosen{0};
};

class WarehouseWindowTest : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    savedWarehouse_ = data::glo().ID_MAGAZYNU.get();
    data::glo().ID_MAGAZYNU = static_cast<double>(sql::demo::kMainWarehouseId);
    data::glo().ID_KONTA_MAGAZYNU = 0;
    exec("DELETE FROM DOSTEP WHERE ID_GRUPY = " + std::to_string(sql::demo::kUserGroupId) +
         " AND KOD IN ('SYS', 'DMag', 'EMag', 'UMag')");
    exec("INSERT INTO MAGAZYN (ID_FIRMY, ID_MAGAZYNU, NAZWA, SYMBOL, STAN_MAGAZYNU) "
         "VALUES (2, 50, 'Magazyn obcej firmy', 'MO', 'Praca')");
  }
  void TearDown() override {
    data::glo().ID_MAGAZYNU = savedWarehouse_;
    data::glo().KONTEKST.set("");
    data::glo().KONTEKST_GNIAZDO = 0;
    WindowFixture::TearDown();
  }

  std::shared_ptr<rt::Window> openList(const std::string& context = "", int request = data::kNoRequest) {
    data::glo().KONTEKST.set(context);
    outcome_ = std::make_shared<Outcome>();
    start([out = outcome_, request] {
      data::GLOBALREQUEST() = static_cast<std::uint8_t>(request);
      MAGAZYN_BRW(1);
      out->response = data::GLOBALRESPONSE();
      out->chosen = data::field("MAG:ID_MAGAZYNU").number();
    });
    return window(kTitle);
  }
  std::shared_ptr<rt::Window> openTitled(const std::string& title, const std::string& context) {
    data::glo().KONTEKST.set(context);
    start([] { MAGAZYN_BRW(1); });
    return window(title);
  }
  void select(const std::shared_ptr<rt::Window>& w, const std::string& symbol) {
    ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOf(w, kSymbolField, symbol))) << symbol;
  }
  std::string warehouse(const std::string& column, const std::string& where) {
    return scalar("SELECT " + column + " FROM MAGAZYN WHERE " + where);
  }
  void addArticles(long long warehouseId, int count, int firstIndex = 1) {
    for (int i = 0; i < count; ++i) {
      long long id = warehouseId * 100000 + firstIndex + i;
      exec("INSERT INTO ARTYKUL (ID_ARTYKULU, ID_MAGAZYNU, INDEKS_KATALOGOWY, NAZWA) VALUES (" + std::to_string(id) +
           ", " + std::to_string(warehouseId) + ", 'IDX" + std::to_string(firstIndex + i) + "', 'Artykuł')");
    }
  }
  int articles(long long warehouseId) {
    return std::stoi(scalar("SELECT COUNT(*) FROM ARTYKUL WHERE ID_MAGAZYNU = " + std::to_string(warehouseId)));
  }
  int marks() { return std::stoi(scalar("SELECT COUNT(*) FROM ZAZNACZONE WHERE UZYCIE = 30")); }

  std::shared_ptr<Outcome> outcome_;

 private:
  double savedWarehouse_ = 0;
};

TEST_P(WarehouseWindowTest, ListsTheCompanysWarehousesWithTheCurrentOneAndTheShop) {
  exec("INSERT INTO VEX_A4B_SYSTEMY (ID_SYSTEMU, ID_MAGAZYNU, IDENTYFIKATORA) VALUES (1, 2, 'sklep.example.pl')");
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kSymbolField), (std::vector<std::string>{"MG", "MH"}));
  EXPECT_EQ(column(w, kCurrentIconField), (std::vector<std::string>{"3", "0"}));
  EXPECT_EQ(column(w, kShopField), (std::vector<std::string>{"", "sklep.example.pl"}));
  EXPECT_TRUE(w->control("?ILOSCZAZ")->hidden) << "no marking without a context";
  EXPECT_EQ(w->control("?LIST")->format.rfind("0L", 0), 0u) << "mark column hidden";
  fe().choose(w, "?SORTOWANIE", "symbol");
  fe().type(w, "?LOKATOR", "MH");
  EXPECT_EQ(column(w, kSymbolField), std::vector<std::string>{"MH"});
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(svc::POBIERZPARAMETROKNA("Magazyn_Brw", "sortowanie"), "symbol");

  // The list opens on the warehouse the user works in.
  data::glo().ID_MAGAZYNU = 2;
  w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->control("?LIST")->selection, rowOf(w, kSymbolField, "MH"));
  fe().press(w, rt::key::Esc);
  join();
  data::glo().ID_MAGAZYNU = 1;

  // The stored order is the one the list opens in.
  w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?SORTOWANIE"), "symbol");
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(WarehouseWindowTest, TheSysRightOfEachWarehouseChoosesTheRowsSaveForMoves) {
  asUser(kJan);
  grant("SYS", 2);
  auto w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kSymbolField), std::vector<std::string>{"MH"});
  fe().press(w, rt::key::Esc);
  join();

  w = openList("MM");
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kSymbolField), (std::vector<std::string>{"MG", "MH"}));
  fe().press(w, rt::key::Esc);
  join();

  // The context serves one opening only.
  w = openList();
  ASSERT_TRUE(w);
  EXPECT_EQ(column(w, kSymbolField), std::vector<std::string>{"MH"});
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(WarehouseWindowTest, RefusalsOfTheList) {
  asUser(kJan);
  grant("SYS", 1);
  grant("SYS", 2);
  grant("DMag");  // without the general "SYS"
  grant("EMag");
  grant("UMag");
  exec("UPDATE MAGAZYN SET STAN_MAGAZYNU = 'Remanent' WHERE ID_MAGAZYNU = 2");
  auto w = openList();
  ASSERT_TRUE(w);
  fe().expectMessage(rt::button::Ok, "Brak uprawnień na dodawanie magazynów!");
  fe().press(w, rt::key::Ins);
  select(w, "MH");
  for (int key : {rt::key::F2, rt::key::Del}) {
    fe().expectMessage(rt::button::Ok, "Nie można modyfikować magazynu, który jest w stanie remanentu/bilansu.");
    fe().press(w, key);
  }
  select(w, "MG");
  fe().expectMessage(rt::button::Ok, "Nie możesz usunąć aktywnego magazynu!");
  fe().press(w, rt::key::Del);
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rt::openWindows().size(), 1u) << "no form opened";
  fe().press(w, rt::key::Esc);
  join();
  EXPECT_EQ(warehouse("COUNT(*)", "ID_FIRMY = 1"), "2");
}

TEST_P(WarehouseWindowTest, DeleteAsksRunsTheRoutineAndKeepsAWarehouseWithArticles) {
  exec("INSERT INTO MAGAZYN (ID_FIRMY, ID_MAGAZYNU, NAZWA, SYMBOL, STAN_MAGAZYNU) "
       "VALUES (1, 3, 'Magazyn zbędny', 'MZ', 'Praca')");
  exec("INSERT INTO VEX_A4B_SYSTEMY (ID_SYSTEMU, ID_MAGAZYNU, IDENTYFIKATORA) VALUES (1, 3, 'sklep')");
  addArticles(2, 1);
  auto w = openList();
  ASSERT_TRUE(w);
  select(w, "MZ");
  fe().expectMessage(rt::button::No, "Ta operacja spowoduje nieodwracalne usunięcie magazynu.");
  fe().press(w, rt::key::Del);
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(warehouse("COUNT(*)", "ID_MAGAZYNU = 3"), "1");
  EXPECT_EQ(fe().messages().back().defaultButton, rt::button::No);

  fe().expectMessage(rt::button::Yes, "nieodwracalne");
  fe().press(w, rt::key::Del);
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(warehouse("COUNT(*)", "ID_MAGAZYNU = 3"), "0");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM VEX_A4B_SYSTEMY WHERE ID_MAGAZYNU = 3"), "0");
  EXPECT_EQ(column(w, kSymbolField), (std::vector<std::string>{"MG", "MH"}));

  select(w, "MH");
  fe().expectMessage(rt::button::Yes, "nieodwracalne");
  fe().expectMessage(rt::button::Ok, "Magazyn zawiera artykuły (1)");
  fe().press(w, rt::key::Del);
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(warehouse("COUNT(*)", "ID_MAGAZYNU = 2"), "1");
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(WarehouseWindowTest, MarkingKeepsTheMarksInTheTableAndCountsThem) {
  exec("INSERT INTO MAGAZYN (ID_FIRMY, ID_MAGAZYNU, NAZWA, SYMBOL, STAN_MAGAZYNU) "
       "VALUES (1, 3, 'Magazyn trzeci', 'MT', 'Praca')");
  auto w = openList("TKBTOREB2B");
  ASSERT_TRUE(w);
  EXPECT_FALSE(w->control("?ILOSCZAZ")->hidden);
  EXPECT_EQ(w->control("?ILOSCZAZ")->text, "Ilość zaznaczonych magazynów: 0");
  EXPECT_FALSE(w->control("?INSERT")->enabled);
  EXPECT_EQ(column(w, kMarkIconField), (std::vector<std::string>{"2", "2", "2"}));

  fe().expectMessage(rt::button::Ok, "Brak zaznaczonych magazynów.");
  fe().press(w, rt::key::ShiftMod + rt::key::F5);
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(rows(w).size(), 3u) << "the full list stays";

  select(w, "MG");
  fe().press(w, rt::key::Space);
  EXPECT_EQ(column(w, kMarkIconField), (std::vector<std::string>{"1", "2", "2"}));
  EXPECT_EQ(w->control("?LIST")->selection, 2) << "the cursor moves down";
  fe().press(w, rt::key::Space);
  EXPECT_EQ(w->control("?ILOSCZAZ")->text, "Ilość zaznaczonych magazynów: 2");
  EXPECT_EQ(marks(), 2);

  fe().press(w, rt::key::ShiftMod + rt::key::F5);
  EXPECT_EQ(column(w, kSymbolField), (std::vector<std::string>{"MG", "MH"}));
  fe().press(w, rt::key::ShiftMod + rt::key::F5);
  EXPECT_EQ(rows(w).size(), 3u);

  fe().expectPopup("Odwróć zaznaczone");
  fe().rightClickRow(w, "?LIST", 1);
  ASSERT_TRUE(fe().settle(w));
  ASSERT_FALSE(fe().popupsShown().empty());
  const auto menu = fe().popupsShown().back();
  for (const char* item : {"Zaznacz wszystko", "Odznacz wszystko", "Odwróć zaznaczone", "Pokaż zaznaczone <Shift+F5>"})
    EXPECT_NE(std::find(menu.begin(), menu.end(), item), menu.end()) << item;
  EXPECT_EQ(column(w, kMarkIconField), (std::vector<std::string>{"2", "2", "1"}));
  fe().press(w, 107);  // "+" of the numeric keypad
  EXPECT_EQ(w->control("?ILOSCZAZ")->text, "Ilość zaznaczonych magazynów: 3");
  fe().press(w, 109);  // "-"
  EXPECT_EQ(marks(), 0);
  EXPECT_EQ(column(w, kMarkIconField), (std::vector<std::string>{"2", "2", "2"}));

  // Typing in the locator: Space belongs to the text, not to the marks.
  fe().press(w, rt::key::Space);
  EXPECT_EQ(marks(), 1);
  fe().type(w, "?LOKATOR", "Magazyn");
  fe().press(w, rt::key::Space);
  EXPECT_EQ(marks(), 1);
  fe().press(w, rt::key::Esc);
  join();

  // Marks left by an earlier opening are shown at once.
  w = openList("TKBTOREB2B");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->control("?ILOSCZAZ")->text, "Ilość zaznaczonych magazynów: 1");
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(WarehouseWindowTest, SynchronisedContextsListOnlyTheCurrentWarehousesPartners) {
  exec("UPDATE MAGAZYN SET WYROZNIK_SYNCHRONIZACJI = 'A' WHERE ID_MAGAZYNU IN (1, 2)");
  exec("INSERT INTO MAGAZYN (ID_FIRMY, ID_MAGAZYNU, NAZWA, SYMBOL, STAN_MAGAZYNU, WYROZNIK_SYNCHRONIZACJI) "
       "VALUES (1, 3, 'Magazyn B', 'MB', 'Praca', 'B')");
  for (const char* context : {"GENZAM", "KOPIAZAM"}) {
    auto w = openTitled("Lista magazynów zsynchronizowanych", context);
    ASSERT_TRUE(w) << context;
    EXPECT_EQ(column(w, kSymbolField), (std::vector<std::string>{"MG", "MH"})) << context;
    EXPECT_EQ(w->control("?INSERT")->enabled, std::string(context) == "KOPIAZAM") << context;
    fe().press(w, rt::key::Esc);
    join();
  }
}

TEST_P(WarehouseWindowTest, RestrictedModeHidesTheEditingButtonsAndPicks) {
  data::glo().KONTEKST_GNIAZDO = 5;
  exec("INSERT INTO MAGAZYN (ID_FIRMY, ID_MAGAZYNU, NAZWA, SYMBOL, STAN_MAGAZYNU) "
       "VALUES (1, 3, 'Magazyn trzeci', 'MT', 'Praca')");
  outcome_ = std::make_shared<Outcome>();
  start([out = outcome_] {
    // The nest holds warehouse 3: the list opens on it rather than on the current one.
    data::field("MAG:ID_MAGAZYNU").set(3);
    MAGAZYN_BRW(1);
    out->response = data::GLOBALRESPONSE();
    out->chosen = data::field("MAG:ID_MAGAZYNU").number();
  });
  auto w = window(kTitle);
  ASSERT_TRUE(w);
  EXPECT_EQ(w->control("?LIST")->selection, rowOf(w, kSymbolField, "MT"));
  for (const char* c : {"?INSERT", "?CHANGE", "?DELETE"}) EXPECT_TRUE(w->control(c)->hidden) << c;
  EXPECT_FALSE(w->control("?SELECT")->hidden);
  EXPECT_FALSE(w->control("?ILOSCZAZ")->hidden);
  EXPECT_EQ(data::glo().KONTEKST_GNIAZDO.get(), 0);
  select(w, "MH");
  fe().click(w, "?SELECT");
  join();
  EXPECT_EQ(outcome_->response.load(), data::kRequestCompleted);
  EXPECT_EQ(outcome_->chosen.load(), 2);
}

// --- the form -------------------------------------------------------------------------

TEST_P(WarehouseWindowTest, AddingChecksSymbolAndNameAndWritesLogAndIndexNumbers) {
  exec("UPDATE FIRMA SET NAGLOWEK = 'Nagłówek firmy' WHERE ID_FIRMY = 1");
  auto w = openList();
  ASSERT_TRUE(w);
  fe().press(w, rt::key::Ins);
  auto f = window("Dodawanie magazynu");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?MAG:NAGLOWEK"), "Nagłówek firmy");
  EXPECT_EQ(f->value("?NUMER_KATALOGOWY"), "0");
  fe().type(f, "?MAG:NAZWA", "Magazyn nowy");
  fe().type(f, "?MAG:SYMBOL", "MH");
  fe().expectMessage(rt::button::Ok, "Istnieje już magazyn o podanym symbolu!");
  fe().click(f, "?OK");
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->focus(), "?MAG:SYMBOL");
  // A symbol of another company's warehouse is free here.
  fe().type(f, "?MAG:SYMBOL", "MO");
  fe().type(f, "?MAG:NAZWA", "Magazyn hurtowy");
  fe().expectMessage(rt::button::Ok, "Istnieje już magazyn o podanej nazwie!");
  fe().click(f, "?OK");
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(f->focus(), "?MAG:NAZWA");
  fe().type(f, "?MAG:NAZWA", "Magazyn O'Neill");
  fe().type(f, "?NUMER_KATALOGOWY", "12a");
  fe().expectMessage(rt::button::Ok, "Ostatni numer musi być liczbą całkowitą nieujemną.");
  fe().click(f, "?OK");
  ASSERT_TRUE(fe().settle(f));
  fe().type(f, "?NUMER_KATALOGOWY", "120");
  fe().type(f, "?NUMER_HANDLOWY", "7");
  fe().click(f, "?OK");
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  const std::string id = warehouse("ID_MAGAZYNU", "NAZWA = 'Magazyn O''Neill'");
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(warehouse("STAN_MAGAZYNU", "ID_MAGAZYNU = " + id), "Praca");
  EXPECT_EQ(warehouse("ID_FIRMY", "ID_MAGAZYNU = " + id), "1");
  EXPECT_EQ(scalar("SELECT OPERACJA || ' ' || OPIS FROM LOG_ZDARZEN WHERE TABELA = 'MAGAZYN' AND ID_REKORDU = " + id),
            "1 MO");
  // The last numbers belong to the new warehouse, not to the one the user works in.
  auto number = [&](const std::string& warehouseId, int kind) {
    return scalar("SELECT NUMER FROM NUMERACJA WHERE ID_FIRMY = 1 AND ID_MAGAZYNU = " + warehouseId +
                  " AND DOKUMENT = " + std::to_string(kind) + " AND TYP_DOKUMENTU = 0 AND ROK = 0");
  };
  EXPECT_EQ(number(id, 15), "120");
  EXPECT_EQ(number(id, 16), "7");
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM NUMERACJA WHERE ID_MAGAZYNU = 1 AND DOKUMENT IN (15, 16)"), "0");

  // Changing them updates the same rows.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", rowOf(w, kSymbolField, "MO")));
  fe().press(w, rt::key::F2);
  f = window("Edycja magazynu");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?NUMER_KATALOGOWY"), "120");
  fe().type(f, "?NUMER_KATALOGOWY", "121");
  fe().click(f, "?OK");
  ASSERT_TRUE(fe().waitForClose(f));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM NUMERACJA WHERE DOKUMENT = 15"), "1");
  EXPECT_EQ(number(id, 15), "121");
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(WarehouseWindowTest, AddingToASynchronisedGroupAsksWithTheEstimateAndCopiesTheArticles) {
  exec("UPDATE MAGAZYN SET WYROZNIK_SYNCHRONIZACJI = 'GRUPA' WHERE ID_MAGAZYNU = 2");
  addArticles(2, 150);
  auto w = openList();
  ASSERT_TRUE(w);
  fe().press(w, rt::key::Ins);
  auto f = window("Dodawanie magazynu");
  ASSERT_TRUE(f);
  fe().type(f, "?MAG:NAZWA", "Magazyn synchronizowany");
  fe().type(f, "?MAG:SYMBOL", "MS");
  fe().type(f, "?MAG:WYROZNIK_SYNCHRONIZACJI", "GRUPA");
  fe().expectMessage(rt::button::No, "wszystkich (150) pozycji asortymentowych. Może to zająć ok. 3 minut");
  fe().click(f, "?OK");
  ASSERT_TRUE(fe().settle(f));
  EXPECT_EQ(warehouse("COUNT(*)", "SYMBOL = 'MS'"), "0") << "No keeps the form open, nothing saved";
  fe().expectMessage(rt::button::Yes, "Czy kontynować?");
  fe().click(f, "?OK");
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  const long long id = std::stoll(warehouse("ID_MAGAZYNU", "SYMBOL = 'MS'"));
  EXPECT_EQ(articles(id), 150);
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(WarehouseWindowTest, ChangingTheMarkAsksAndOnlyANewMarkSynchronises) {
  exec("UPDATE MAGAZYN SET WYROZNIK_SYNCHRONIZACJI = 'A' WHERE ID_MAGAZYNU = 1");
  addArticles(1, 3);
  addArticles(2, 2, 10);
  auto w = openList();
  ASSERT_TRUE(w);
  select(w, "MH");
  fe().press(w, rt::key::F2);
  auto f = window("Edycja magazynu");
  ASSERT_TRUE(f);
  fe().type(f, "?MAG:WYROZNIK_SYNCHRONIZACJI", "A");
  // Three catalogue indexes under "A" (its own two are not there yet): no estimate.
  fe().expectMessage(rt::button::Yes, "uwspólnienia z pozostałymi magazynami wszystkich (3) pozycji asortymentowych. |");
  fe().click(f, "?OK");
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(articles(2), 5);
  EXPECT_EQ(articles(1), 3) << "the synchronisation fills the changed warehouse";

  select(w, "MH");
  fe().press(w, rt::key::F2);
  f = window("Edycja magazynu");
  ASSERT_TRUE(f);
  fe().type(f, "?MAG:WYROZNIK_SYNCHRONIZACJI", "");
  fe().expectMessage(rt::button::Yes, "Usunięcie wyróżnika synchronizacji");
  fe().click(f, "?OK");
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(warehouse("COALESCE(WYROZNIK_SYNCHRONIZACJI, '')", "ID_MAGAZYNU = 2"), "");
  EXPECT_EQ(articles(2), 5);
  fe().press(w, rt::key::Esc);
  join();
}

TEST_P(WarehouseWindowTest, TheDefaultAccountIsPickedClearedAndFollowsTheCurrentWarehouse) {
  auto w = openList();
  ASSERT_TRUE(w);
  select(w, "MG");
  fe().press(w, rt::key::F2);
  auto f = window("Edycja magazynu");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->value("?RACHUNEK"), "27 199000030000123456789012");
  fe().click(f, "?USUNRACHUNEK");
  EXPECT_EQ(f->value("?RACHUNEK"), "");
  fe().click(f, "?WYBIERZRACHUNEK");
  auto accounts = window("Rachunki bankowe firmy");
  ASSERT_TRUE(accounts);
  fe().clickRow(accounts, "?LIST", 1);
  fe().click(accounts, "?SELECT");
  ASSERT_TRUE(fe().waitForClose(accounts));
  EXPECT_EQ(f->value("?RACHUNEK"), "27 199000030000123456789012");
  fe().click(f, "?USUNRACHUNEK");
  fe().click(f, "?OK");
  ASSERT_TRUE(fe().waitForClose(f));
  ASSERT_TRUE(fe().settle(w));
  EXPECT_EQ(warehouse("ID_RACHUNKU", "ID_MAGAZYNU = 1"), "0");
  EXPECT_EQ(data::glo().ID_KONTA_MAGAZYNU.get(), 0);
  fe().press(w, rt::key::Esc);
  join();
}

SLOWNIK_ON_ALL_BACKENDS(WarehouseWindowTest);

TEST(WarehouseEstimate, OneArticleASecondAndOnlyAboveTwoMinutes) {
  const struct {
    long long articles;
    std::string text;
  } cases[] = {
      {0, ""},
      {120, ""},
      {121, "Może to zająć ok. 2 minut i spowolnić pracę innym użytkownikom."},
      {150, "Może to zająć ok. 3 minut i spowolnić pracę innym użytkownikom."},
      {3600, "Może to zająć ok. 60 minut i spowolnić pracę innym użytkownikom."},
  };
  for (const auto& c : cases) EXPECT_EQ(synchronisationEstimate(c.articles), c.text) << c.articles;
}

TEST(WarehouseListMode, ContextWords) {
  const struct {
    const char* context;
    double nest;
    bool marking, markColumn, synchronised, readOnly, restricted, every;
  } cases[] = {
      {"", 0, false, false, false, false, false, false},
      {"GENZAM", 0, true, true, true, true, false, false},
      {"KOPIAZAM", 0, false, false, true, false, false, false},
      {"TKBTOREB2B", 0, true, true, false, true, false, false},
      {"FILTRDOKHANDL", 0, false, true, false, false, false, false},
      {"VEXIK", 0, false, true, false, false, false, false},
      {"MM", 0, false, false, false, false, false, true},
      {"genzam", 0, false, false, false, false, false, false},
      {"", 1, true, true, false, true, true, false},
  };
  for (const auto& c : cases) {
    WarehouseListMode m = warehouseListMode(c.context, c.nest);
    EXPECT_EQ((std::vector<bool>{m.marking, m.markColumn, m.synchronisedOnly, m.readOnly, m.restricted,
                                 m.everyWarehouse}),
              (std::vector<bool>{c.marking, c.markColumn, c.synchronised, c.readOnly, c.restricted, c.every}))
        << c.context << " " << c.nest;
  }
}

}  // namespace
}  // namespace slownik::company
