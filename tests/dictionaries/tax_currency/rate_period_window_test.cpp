#include <gtest/gtest.h>

#include "dictionaries/tax_currency/currency_list.h"
#include "dictionaries/tax_currency/rate_period_window.h"
#include "engine/window_fixture.h"
#include "framework/runtime/keys.h"
#include "framework/services/program_parameters.h"
#include "framework/services/rates/rate_table.h"
#include "support/rate_banks_fake.h"

namespace slownik {
namespace {

using rt::button::Ok;
using test::dayOfIso;

constexpr const char* kItem = "Pobierz kursy za okres…";
constexpr const char* kDialog = "Pobierz kursy za okres";
constexpr const char* kProgress = "Pobieranie kursów walut za okres";

// The currency list's back-fill of past rates, played as the person does it, with the
// banks' addresses set as program parameters pointing at the local fakes.
class RatePeriodWindow : public test::WindowFixture {
 protected:
  void SetUp() override {
    test::WindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    banks.publishWorkdays(dayOfIso("2025-11-03"), dayOfIso("2026-01-30"),
                          {dayOfIso("2025-12-24"), dayOfIso("2025-12-25"), dayOfIso("2025-12-26"),
                           dayOfIso("2026-01-01"), dayOfIso("2026-01-06")},
                          {dayOfIso("2025-12-25"), dayOfIso("2025-12-26"), dayOfIso("2026-01-01")});
    // Nothing reaches the real banks, even if a parameter were not read.
    svc::setRateSources({"http://127.0.0.1:1", "http://127.0.0.1:1"});
    ASSERT_EQ(svc::USTAWPARAMKONF("s", svc::kNbpAddressParameter, banks.nbpAddress()), 0);
    ASSERT_EQ(svc::USTAWPARAMKONF("s", svc::kEcbAddressParameter, banks.ecbAddress()), 0);
  }
  void TearDown() override {
    svc::setRateSources({});
    test::WindowFixture::TearDown();
  }

  std::shared_ptr<rt::Window> openList() {
    start([] { WALUTY_BRW(); });
    return window("Waluty");
  }
  // Chooses the popup item on a row of the list: the period window opens.
  std::shared_ptr<rt::Window> openDialog(const std::shared_ptr<rt::Window>& list) {
    fe().expectPopup(kItem);
    EXPECT_TRUE(fe().rightClickRow(list, "?LIST", 1));
    return window(kDialog);
  }
  std::string tablesOf(int bank) {
    return scalar("SELECT COUNT(*) FROM DATY_KURSOW WHERE ID_BANKU = " + std::to_string(bank) + " AND DATA_NOT BETWEEN " +
                  std::to_string(dayOfIso("2025-12-20")) + " AND " + std::to_string(dayOfIso("2026-01-09")));
  }

  test::FakeRateBanks banks;
};

TEST_P(RatePeriodWindow, ThePeriodIsCheckedThenDownloadedAndShownInTheList) {
  auto list = openList();
  ASSERT_TRUE(list);
  ASSERT_TRUE(fe().type(list, "?DATA_KURSU", "15.01.2026"));
  auto dialog = openDialog(list);
  ASSERT_TRUE(dialog);
  // Proposed: from the first of the list's month to the list's day.
  EXPECT_EQ(dialog->value("?OD_DNIA"), "01.01.2026");
  EXPECT_EQ(dialog->value("?DO_DNIA"), "15.01.2026");
  EXPECT_EQ(dialog->value("?NBP"), "1");
  EXPECT_EQ(dialog->value("?ECB"), "1");

  struct Refusal {
    const char* from;
    const char* to;
    const char* message;
    const char* focus;
  };
  for (const Refusal& r : {Refusal{"31.02.2025", "09.01.2026", "Niepoprawna data początkowa!", "?OD_DNIA"},
                           Refusal{"20.12.2025", "jutro", "Niepoprawna data końcowa!", "?DO_DNIA"},
                           Refusal{"09.01.2026", "20.12.2025", "Data początkowa jest późniejsza", "?OD_DNIA"},
                           Refusal{"01.01.2025", "02.01.2026", "najwyżej za jeden rok", "?DO_DNIA"}}) {
    ASSERT_TRUE(fe().type(dialog, "?OD_DNIA", r.from));
    ASSERT_TRUE(fe().type(dialog, "?DO_DNIA", r.to));
    fe().expectMessage(Ok, r.message);
    ASSERT_TRUE(fe().click(dialog, "?OK"));
    EXPECT_FALSE(dialog->isClosed());
    EXPECT_EQ(dialog->focus(), r.focus) << r.message;
  }
  EXPECT_TRUE(banks.requests().empty());  // nothing was asked of the banks

  ASSERT_TRUE(fe().type(dialog, "?OD_DNIA", "20.12.2025"));
  ASSERT_TRUE(fe().type(dialog, "?DO_DNIA", "9.1.2026"));
  fe().expectMessage(Ok, "Pobrano kursy walut za okres od 20.12.2025 do 09.01.2026.|Tabele NBP: zapisano 10.|"
                         "Tabele ECB: zapisano 12.");
  ASSERT_TRUE(fe().click(dialog, "?OK"));
  ASSERT_TRUE(fe().waitForClose(dialog));
  fe().settle(list);
  EXPECT_EQ(tablesOf(0), "10");
  EXPECT_EQ(tablesOf(-1), "12");
  EXPECT_EQ(banks.requests().size(), 3u);

  // The list shows for a Saturday after Christmas the last tables before it.
  ASSERT_TRUE(fe().type(list, "?DATA_KURSU", "27.12.2025"));
  int eur = rowOf(list, 2, "EUR");
  ASSERT_GT(eur, 0);
  auto row = rows(list)[static_cast<std::size_t>(eur - 1)];
  EXPECT_EQ(row[6], "23.12.2025");
  EXPECT_EQ(row[8], "24.12.2025");

  // Asked again over a longer period: the days stored are passed over and said so.
  dialog = openDialog(list);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(fe().type(dialog, "?OD_DNIA", "20.12.2025"));
  ASSERT_TRUE(fe().type(dialog, "?DO_DNIA", "12.01.2026"));
  ASSERT_TRUE(fe().click(dialog, "?ECB"));  // the Polish bank only
  fe().expectMessage(Ok, "Tabele NBP: zapisano 1, pominięto już zapisane: 10.");
  ASSERT_TRUE(fe().click(dialog, "?OK"));
  ASSERT_TRUE(fe().waitForClose(dialog));
  EXPECT_EQ(banks.requests().size(), 5u);
}

TEST_P(RatePeriodWindow, AnulujStopsTheDownloadAndKeepsTheDaysStored) {
  auto list = openList();
  ASSERT_TRUE(list);
  auto dialog = openDialog(list);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(fe().type(dialog, "?OD_DNIA", "20.12.2025"));
  ASSERT_TRUE(fe().type(dialog, "?DO_DNIA", "09.01.2026"));
  // The person presses "Anuluj" while the European bank's file is on its way.
  std::atomic<bool> pressed{false};
  banks.onRequest([&](const std::string& path) {
    if (path.rfind("/ecb/", 0) != 0) return;
    for (const auto& w : rt::openWindows())
      if (w->title() == kProgress) pressed = w->click("?PROGRESS:CANCEL").empty();
  });
  fe().expectMessage(Ok, "Pobieranie kursów walut zostało przerwane.|Kursy zapisane do tej chwili pozostały w bazie.");
  ASSERT_TRUE(fe().click(dialog, "?OK"));
  ASSERT_TRUE(fe().waitForClose(dialog));
  fe().settle(list);
  EXPECT_TRUE(pressed);
  EXPECT_EQ(tablesOf(0), "10");
  // Stopped at the first check after the file came: at most the day stored before it.
  EXPECT_LE(std::stoi(tablesOf(-1)), 1);
  auto shown = fe().messages();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().icon, rt::MessageIcon::Information);
}

TEST_P(RatePeriodWindow, CancellingThePeriodAsksNothing) {
  auto list = openList();
  ASSERT_TRUE(list);
  auto dialog = openDialog(list);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(fe().press(dialog, rt::key::Esc));
  ASSERT_TRUE(fe().waitForClose(dialog));
  EXPECT_TRUE(banks.requests().empty());
  EXPECT_EQ(fe().messages().size(), 0u);
}

SLOWNIK_ON_ALL_BACKENDS(RatePeriodWindow);

TEST(RatePeriodReport, SaysWhatWasStoredAndWhatWasKept) {
  svc::RatePeriod period{dayOfIso("2025-12-20"), dayOfIso("2026-01-09"), true, false};
  svc::RatePeriodDownload failed;
  failed.error = "Serwer NBP odpowiedział błędem 500.";
  failed.nbpStored = 3;
  EXPECT_EQ(tax_currency::ratePeriodReport(period, failed),
            "Serwer NBP odpowiedział błędem 500.|Kursy zapisane do tej chwili pozostały w bazie.|Tabele NBP: zapisano 3.");
}

}  // namespace
}  // namespace slownik
