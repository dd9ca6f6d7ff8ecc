#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <set>

#include "dictionaries/tax_currency/currency_list.h"
#include "dictionaries/tax_currency/rates_window.h"
#include "engine/window_fixture.h"
#include "framework/data/requests.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/keys.h"
#include "framework/services/rates/rate_table.h"
#include "support/http_server.h"
#include "support/zip_entries.h"

namespace slownik {
namespace {

using rt::button::No;
using rt::button::Ok;
using rt::button::Yes;

const char* kNbpTableA = R"x([{"table":"A","no":"005/A/NBP/2024","effectiveDate":"2024-01-08","rates":[
  {"currency":"euro","code":"EUR","mid":4.3500},{"currency":"dolar amerykański","code":"USD","mid":3.9800}]}])x";

std::string nbpPath(const char* table, const char* date) {
  return std::string("/api/exchangerates/tables/") + table + "/" + date + "/?format=json";
}

class RatesWindowTest : public test::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // The cases work on the demo's tables of January 2024; the tables of the days before
    // the database was made would follow them in every list from a 2024 day on.
    exec("DELETE FROM KURSY_WALUT WHERE ID_DATY IN (SELECT ID_DATY FROM DATY_KURSOW WHERE DATA_NOT > " +
         std::to_string(rt::dayNumber(2024, 12, 31)) + ")");
    exec("DELETE FROM DATY_KURSOW WHERE DATA_NOT > " + std::to_string(rt::dayNumber(2024, 12, 31)));
  }
  std::shared_ptr<rt::Window> openRates(std::int32_t day, std::string mode = {}) {
    start([this, day, mode] { response_ = tax_currency::KursyWalutBrw(day, mode); });
    return window("Kursy walut");
  }
  static std::vector<std::string> listColumn(const std::shared_ptr<rt::Window>& w, const char* list, std::size_t c) {
    std::vector<std::string> out;
    auto control = w->control(list);
    if (!control) return out;
    for (const auto& r : control->rows) out.push_back(c < r.size() ? r[c] : "");
    return out;
  }
  // The form of a request, told apart by its fields (both forms are titled "… kursu").
  std::shared_ptr<rt::Window> form(const char* title, const char* field) {
    auto w = window(title);
    EXPECT_TRUE(w && w->has(field)) << title << " without " << field;
    return w;
  }
  std::atomic<int> response_{-1};
  const std::int32_t jan3 = rt::dayNumber(2024, 1, 3);
};

TEST_P(RatesWindowTest, DatesFromTheFilterDayAndTheRatesOfTheSelectedDate) {
  asUser(4242);
  fe().expectMessage(Ok, "Brak uprawnień na dostęp do kursów walut!");
  start([] { tax_currency::KursyWalutBrw(0, ""); });
  join();

  asUser(sql::demo::kAdminUserId);
  auto w = openRates(jan3);
  ASSERT_TRUE(w);
  EXPECT_EQ(w->value("?DATA_FILTR"), "03.01.2024");
  EXPECT_EQ(listColumn(w, "?LIST", 2), (std::vector<std::string>{"03.01.2024", "04.01.2024"}));
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  auto symbols = listColumn(w, "?LIST1", 0);
  EXPECT_EQ(symbols.size(), 11u);
  EXPECT_EQ(symbols.front(), "CHF");
  EXPECT_TRUE(w->control("?CZY_PRZELICZAC")->enabled);  // NBP rates exist for the 3rd

  // The ECB source has no tables at all.
  ASSERT_TRUE(fe().click(w, "?F_NBP_ECB:ECB"));
  EXPECT_TRUE(listColumn(w, "?LIST", 2).empty());
  EXPECT_TRUE(listColumn(w, "?LIST1", 0).empty());
  EXPECT_FALSE(w->control("?CZY_PRZELICZAC")->enabled);
  ASSERT_TRUE(fe().click(w, "?F_NBP_ECB:NBP"));

  ASSERT_TRUE(fe().type(w, "?DATA_FILTR", "04.01.2024"));
  EXPECT_EQ(listColumn(w, "?LIST", 2), (std::vector<std::string>{"04.01.2024"}));
  EXPECT_EQ(w->focus(), "?LIST");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  EXPECT_EQ(response_, data::kRequestCompleted);
}

TEST_P(RatesWindowTest, WithoutADateRowTheRatesListIsEmpty) {
  asUser(sql::demo::kAdminUserId);
  // No table is as new as this: no date row, so no rates, however many dates hold some.
  auto w = openRates(rt::dayNumber(2030, 1, 2));
  ASSERT_TRUE(w);
  EXPECT_TRUE(listColumn(w, "?LIST", 2).empty());
  EXPECT_TRUE(listColumn(w, "?LIST1", 0).empty());
  EXPECT_FALSE(w->control("?GRUPA:KURSY")->enabled);

  // A date chosen shows its own rates only: each currency once.
  ASSERT_TRUE(fe().type(w, "?DATA_FILTR", "04.01.2024"));
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  auto symbols = listColumn(w, "?LIST1", 0);
  ASSERT_FALSE(symbols.empty());
  EXPECT_EQ(std::set<std::string>(symbols.begin(), symbols.end()).size(), symbols.size());
  EXPECT_TRUE(w->control("?GRUPA:KURSY")->enabled);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
}

TEST_P(RatesWindowTest, EachListHasItsOwnFormAndKeys) {
  auto w = openRates(jan3);
  ASSERT_TRUE(w);
  // A date that is already quoted is refused; another one is added and shown.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto dateForm = form("Dodawanie kursu", "?DATKUR:DATA_NOT");
  ASSERT_TRUE(dateForm);
  EXPECT_EQ(dateForm->value("?DATKUR:DATA_NOT"), rt::formatShortDate(rt::today()));
  ASSERT_TRUE(fe().type(dateForm, "?DATKUR:DATA_NOT", "03.01.2024"));
  fe().expectMessage(Ok, "Notowanie na dzień 03.01.2024 już zostało zdefiniowane!|Proszę zmienić dzień.");
  ASSERT_TRUE(fe().click(dateForm, "?OK"));
  EXPECT_EQ(dateForm->focus(), "?DATKUR:DATA_NOT");
  ASSERT_TRUE(fe().type(dateForm, "?DATKUR:DATA_NOT", "05.01.2024"));
  ASSERT_TRUE(fe().click(dateForm, "?OK"));
  ASSERT_TRUE(fe().waitForClose(dateForm));
  fe().settle(w);
  EXPECT_EQ(listColumn(w, "?LIST", 2), (std::vector<std::string>{"03.01.2024", "04.01.2024", "05.01.2024"}));
  EXPECT_EQ(w->control("?LIST")->selection, 3);
  EXPECT_TRUE(listColumn(w, "?LIST1", 0).empty());
  EXPECT_EQ(scalar("SELECT ID_BANKU FROM DATY_KURSOW WHERE DATA_NOT = " + std::to_string(rt::dayNumber(2024, 1, 5))), "0");

  // Ins in the rates list opens the rate form, for the selected date.
  ASSERT_TRUE(fe().click(w, "?LIST1"));
  ASSERT_TRUE(fe().press(w, rt::key::Ins));
  auto rateForm = form("Dodawanie kursu", "?KUR:KURS_ZAKUPU");
  ASSERT_TRUE(rateForm);
  fe().expectMessage(Ok, "Musisz wybrać symbol waluty!");
  ASSERT_TRUE(fe().click(rateForm, "?OK"));
  ASSERT_TRUE(fe().choose(rateForm, "?KUR:SYM_WALUTY", "HUF"));
  EXPECT_EQ(rateForm->value("?WAL:MNOZNIK_WALUTY"), "100");
  ASSERT_TRUE(fe().type(rateForm, "?KUR:KURS_ZAKUPU", "4,0000"));
  EXPECT_EQ(rateForm->value("?KUR:KURS_SREDNI"), "0,000000");  // one rate alone gives no average
  ASSERT_TRUE(fe().type(rateForm, "?KUR:KURS_SPRZEDAZY", "4,1000"));
  EXPECT_EQ(rateForm->value("?KUR:KURS_SREDNI"), "4,050000");
  ASSERT_TRUE(fe().click(rateForm, "?OK"));
  ASSERT_TRUE(fe().waitForClose(rateForm));
  fe().settle(w);
  EXPECT_EQ(listColumn(w, "?LIST1", 0), (std::vector<std::string>{"HUF"}));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT K JOIN DATY_KURSOW D ON D.ID_DATY = K.ID_DATY WHERE D.DATA_NOT = " +
                   std::to_string(rt::dayNumber(2024, 1, 5)) + " AND K.SYM_WALUTY = 'HUF' AND K.KURS_SREDNI = 4.05"),
            "1");

  // The same currency again on that date is refused.
  ASSERT_TRUE(fe().click(w, "?INSERT:2"));
  rateForm = form("Dodawanie kursu", "?KUR:KURS_ZAKUPU");
  ASSERT_TRUE(rateForm);
  ASSERT_TRUE(fe().choose(rateForm, "?KUR:SYM_WALUTY", "HUF"));
  fe().expectMessage(Ok, "Kurs waluty HUF o danej dacie już istnieje!");
  ASSERT_TRUE(fe().click(rateForm, "?OK"));
  ASSERT_TRUE(fe().click(rateForm, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(rateForm));

  // F2 in the rates list changes the rate; the currency stays fixed.
  ASSERT_TRUE(fe().clickRow(w, "?LIST1", 1));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  rateForm = form("Edycja kursu", "?KUR:KURS_ZAKUPU");
  ASSERT_TRUE(rateForm);
  EXPECT_FALSE(rateForm->control("?KUR:SYM_WALUTY")->enabled);
  ASSERT_TRUE(fe().click(rateForm, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(rateForm));
}

TEST_P(RatesWindowTest, DownloadModeFetchesTheTableAndClosingAsksToRecalculatePrices) {
  test::HttpServer server;
  server.serve(nbpPath("A", "2024-01-08"), 200, kNbpTableA);
  svc::setRateSources({server.baseUrl(), server.baseUrl() + "/ecb"});
  fe().expectMessage(Ok, "Pobrano kursy walut z banku NBP.");
  auto w = openRates(rt::dayNumber(2024, 1, 8), "Pobierz z NBP");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().waitForMessages(1));
  fe().settle(w);
  EXPECT_EQ(listColumn(w, "?LIST", 2), (std::vector<std::string>{"08.01.2024"}));
  EXPECT_TRUE(w->control("?CZY_PRZELICZAC")->enabled);
  ASSERT_TRUE(fe().click(w, "?CZY_PRZELICZAC"));
  fe().expectMessage(No, "Czy przeliczyć ceny sprzedaży dla wszystkich artykułów po aktualnych kursach?");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  // The choice is kept for the next time.
  start([] {});
  join();
  auto again = openRates(rt::dayNumber(2024, 1, 8));
  ASSERT_TRUE(again);
  EXPECT_EQ(again->value("?CZY_PRZELICZAC"), "1");
  fe().expectMessage(No, "Czy przeliczyć ceny sprzedaży");
  ASSERT_TRUE(fe().press(again, rt::key::Esc));
}

TEST_P(RatesWindowTest, CurrencyListDownloadsAndShowsTheRates) {
  test::HttpServer server;
  server.serve(nbpPath("A", "2024-01-08"), 200, kNbpTableA);
  svc::setRateSources({server.baseUrl(), server.baseUrl() + "/ecb"});
  start([] { WALUTY_BRW(); });
  auto w = window("Waluty");
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().type(w, "?DATA_KURSU", "08.01.2024"));
  fe().expectMessage(No, "Pobrano kursy walut z banku NBP.|Chcesz je zobaczyć?");
  ASSERT_TRUE(fe().click(w, "?BUTTONNBP"));
  int eur = rowOf(w, 2, "EUR");
  ASSERT_GT(eur, 0);
  EXPECT_EQ(rows(w)[static_cast<std::size_t>(eur - 1)][7], "4,350000");

  // Yes: the rate window opens on the downloaded day.
  fe().expectMessage(Yes, "Chcesz je zobaczyć?");
  ASSERT_TRUE(fe().click(w, "?BUTTONNBP"));
  auto rates = window("Kursy walut");
  ASSERT_TRUE(rates);
  EXPECT_EQ(rates->value("?DATA_FILTR"), "08.01.2024");
  ASSERT_TRUE(fe().press(rates, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(rates));
}

// Another user may change the tables while a form is open: whatever the form's outcome,
// both lists show the database as it is when the form closes.
TEST_P(RatesWindowTest, BothListsReloadAfterACancelledForm) {
  auto w = openRates(jan3);
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  const std::string jan3Id =
      scalar("SELECT ID_DATY FROM DATY_KURSOW WHERE ID_BANKU = 0 AND DATA_NOT = " + std::to_string(jan3));
  const std::string nextId = scalar("SELECT MAX(ID_DATY) + 1 FROM DATY_KURSOW");
  ASSERT_FALSE(listColumn(w, "?LIST1", 0).empty());
  const std::string first = listColumn(w, "?LIST1", 0).front();

  // The rate form, cancelled: the rates list reads the changed rate.
  ASSERT_TRUE(fe().clickRow(w, "?LIST1", 1));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto rateForm = form("Edycja kursu", "?KUR:KURS_ZAKUPU");
  ASSERT_TRUE(rateForm);
  exec("UPDATE KURSY_WALUT SET KURS_ZAKUPU = 7.1234 WHERE ID_DATY = " + jan3Id + " AND SYM_WALUTY = '" + first + "'");
  ASSERT_TRUE(fe().click(rateForm, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(rateForm));
  fe().settle(w);
  ASSERT_FALSE(listColumn(w, "?LIST1", 1).empty());
  EXPECT_EQ(listColumn(w, "?LIST1", 1).front(), "7,1234");

  // The date form, cancelled: the dates list shows a date added meanwhile.
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto dateForm = form("Edycja kursu", "?DATKUR:DATA_NOT");
  ASSERT_TRUE(dateForm);
  exec("INSERT INTO DATY_KURSOW (ID_DATY, ID_BANKU, DATA_NOT) VALUES (" + nextId + ", 0, " +
       std::to_string(rt::dayNumber(2024, 1, 9)) + ")");
  ASSERT_TRUE(fe().click(dateForm, "?CANCEL"));
  ASSERT_TRUE(fe().waitForClose(dateForm));
  fe().settle(w);
  EXPECT_EQ(listColumn(w, "?LIST", 2), (std::vector<std::string>{"03.01.2024", "04.01.2024", "09.01.2024"}));
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
}

// A rate has six places wherever it comes from: opening it and pressing "Zapisz" keeps
// them, and the average of two rates keeps its sixth place.
TEST_P(RatesWindowTest, RatesKeepTheirSixPlacesThroughTheForm) {
  auto w = openRates(jan3);
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  const std::string jan3Id =
      scalar("SELECT ID_DATY FROM DATY_KURSOW WHERE ID_BANKU = 0 AND DATA_NOT = " + std::to_string(jan3));
  ASSERT_FALSE(listColumn(w, "?LIST1", 0).empty());
  const std::string where = " WHERE ID_DATY = " + jan3Id + " AND SYM_WALUTY = '" + listColumn(w, "?LIST1", 0).front() + "'";
  exec("UPDATE KURSY_WALUT SET KURS_ZAKUPU = 4.111111, KURS_SPRZEDAZY = 4.222222, KURS_SREDNI = 4.166667" + where);
  ASSERT_TRUE(fe().press(w, rt::key::F5));

  ASSERT_TRUE(fe().clickRow(w, "?LIST1", 1));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  auto rateForm = form("Edycja kursu", "?KUR:KURS_ZAKUPU");
  ASSERT_TRUE(rateForm);
  EXPECT_EQ(rateForm->value("?KUR:KURS_ZAKUPU"), "4,111111");
  ASSERT_TRUE(fe().click(rateForm, "?OK"));
  ASSERT_TRUE(fe().waitForClose(rateForm));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT" + where +
                   " AND KURS_ZAKUPU = 4.111111 AND KURS_SPRZEDAZY = 4.222222 AND KURS_SREDNI = 4.166667"),
            "1");

  ASSERT_TRUE(fe().clickRow(w, "?LIST1", 1));
  ASSERT_TRUE(fe().press(w, rt::key::F2));
  rateForm = form("Edycja kursu", "?KUR:KURS_ZAKUPU");
  ASSERT_TRUE(rateForm);
  ASSERT_TRUE(fe().type(rateForm, "?KUR:KURS_ZAKUPU", "4,0001"));
  ASSERT_TRUE(fe().type(rateForm, "?KUR:KURS_SPRZEDAZY", "4,0002"));
  EXPECT_EQ(rateForm->value("?KUR:KURS_SREDNI"), "4,000150");
  ASSERT_TRUE(fe().click(rateForm, "?OK"));
  ASSERT_TRUE(fe().waitForClose(rateForm));
  EXPECT_EQ(scalar("SELECT COUNT(*) FROM KURSY_WALUT" + where + " AND KURS_SREDNI = 4.00015"), "1");
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
}

TEST_P(RatesWindowTest, TheRatesListExportsPrintsAndCopiesTheSelectedDatesRatesOnly) {
  namespace fs = std::filesystem;
  const fs::path file = fs::temp_directory_path() / ("kursy_" + std::to_string(::getpid()) + "_" + GetParam().name + ".xlsx");
  fs::remove(file);
  auto w = openRates(jan3);
  ASSERT_TRUE(w);
  ASSERT_TRUE(fe().clickRow(w, "?LIST", 1));
  const std::string ofTheDay = scalar(
      "SELECT COUNT(*) FROM KURSY_WALUT K JOIN DATY_KURSOW D ON D.ID_DATY = K.ID_DATY WHERE D.ID_BANKU = 0 AND "
      "D.DATA_NOT = " + std::to_string(jan3));
  ASSERT_LT(std::stoul(ofTheDay), std::stoul(scalar("SELECT COUNT(*) FROM KURSY_WALUT")));
  ASSERT_EQ(listColumn(w, "?LIST1", 0).size(), std::stoul(ofTheDay));

  // The rates list's own popup: its buttons, then export and print of its rows.
  fe().expectPopup("Eksport do Excela");
  fe().expectFile(file.string());
  ASSERT_TRUE(fe().rightClickRow(w, "?LIST1", 2));
  ASSERT_EQ(fe().popupsShown().size(), 1u);
  const auto offered = fe().popupsShown()[0];
  for (const char* item : {"Dodaj", "Popraw", "Usuń", "Eksport do Excela", "Drukuj"})
    EXPECT_NE(std::find(offered.begin(), offered.end(), item), offered.end()) << item;
  test::ZipEntries zip(file.string());
  ASSERT_TRUE(zip.valid());
  const std::string sheet = zip.text("xl/worksheets/sheet1.xml");
  std::size_t lines = 0;
  for (auto at = sheet.find("<row "); at != std::string::npos; at = sheet.find("<row ", at + 1)) ++lines;
  EXPECT_EQ(lines, std::stoul(ofTheDay) + 1) << "the header and that day's rates";
  const std::string words = sheet + zip.text("xl/sharedStrings.xml");
  EXPECT_NE(words.find("Kurs średni"), std::string::npos);
  EXPECT_EQ(w->control("?LIST1")->selection, 2) << "the rates list keeps its place after the export";

  // Ctrl+P in the rates list prints the rates, not the dates, under the window's name.
  ASSERT_TRUE(fe().press(w, rt::key::withCtrl('P')));
  ASSERT_EQ(fe().printed().size(), 1u);
  EXPECT_EQ(fe().printed()[0].title, "Kursy walut");
  const std::string html = fe().printed()[0].html;
  std::size_t printedRows = 0;
  for (auto at = html.find("<tr>"); at != std::string::npos; at = html.find("<tr>", at + 1)) ++printedRows;
  EXPECT_EQ(printedRows - 1, std::stoul(ofTheDay));
  EXPECT_NE(html.find("Kurs średni"), std::string::npos);

  // Ctrl+C copies the two rows selected with Shift+click, with the headers.
  const auto symbols = listColumn(w, "?LIST1", 0);
  ASSERT_TRUE(fe().extendRow(w, "?LIST1", 3, true));
  ASSERT_TRUE(fe().press(w, rt::key::withCtrl('C')));
  const std::string copied = fe().clipboardText();
  EXPECT_EQ(copied.substr(0, copied.find('\n')), "Waluta\tKurs zakupu\tKurs sprzedaży\tKurs średni");
  EXPECT_EQ(std::count(copied.begin(), copied.end(), '\n'), 2);
  EXPECT_NE(copied.find("\n" + symbols[1] + "\t"), std::string::npos);
  EXPECT_NE(copied.find("\n" + symbols[2] + "\t"), std::string::npos);
  ASSERT_TRUE(fe().press(w, rt::key::Esc));
  join();
  fs::remove(file);
}

SLOWNIK_ON_ALL_BACKENDS(RatesWindowTest);

}  // namespace
}  // namespace slownik
