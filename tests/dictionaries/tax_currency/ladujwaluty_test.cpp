#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "dictionaries/tax_currency/ladujwaluty.h"
#include "engine/window_fixture.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/runtime/window.h"
#include "framework/services/program_parameters.h"

namespace slownik {
namespace {

using tax_currency::loadRates;
using rt::button::No;
using rt::button::Yes;

struct WindowCall {
  std::int32_t day;
  std::string mode;
  bool operator==(const WindowCall&) const = default;
};

class LoadRates : public test::WindowFixture {
 protected:
  // The rate window as LADUJWALUTY sees it: it records its calls and, when told to,
  // fills in a table of rates for the day it was opened on.
  tax_currency::RateWindowCall window(bool fills, int answer = 1) {
    return [this, fills, answer](std::int32_t day, const std::string& mode) {
      calls.push_back({day, mode});
      if (fills) {
        ++nextId_;
        exec("INSERT INTO DATY_KURSOW (ID_DATY, ID_BANKU, DATA_NOT) VALUES (" + std::to_string(nextId_) + ", 0, " +
             std::to_string(day) + ")");
        exec("INSERT INTO KURSY_WALUT (ID_DATY, SYM_WALUTY, KURS_SREDNI) VALUES (" + std::to_string(nextId_) +
             ", 'EUR', 4.3)");
      }
      return answer;
    };
  }
  void setting(const std::string& value) { ASSERT_EQ(svc::USTAWPARAMKONF("s", "WalStartSys", value), 0); }
  std::vector<WindowCall> calls;
  const std::int32_t quoted = rt::dayNumber(2024, 1, 3);    // a demo NBP table
  const std::int32_t missing = rt::dayNumber(2024, 1, 10);  // no table

 private:
  int nextId_ = 100;
};

TEST_P(LoadRates, SourceCodesOfTheStartSetting) {
  struct Case {
    const char* setting;
    int source;
  };
  for (const Case& c : {Case{"Pobierz z NBP", 0}, Case{"Pobierz z ECB", -1}, Case{"Tak", -2}, Case{"", -2},
                        Case{"pobierz z nbp", -2}}) {
    EXPECT_EQ(tax_currency::startupRateSource(c.setting), c.source) << c.setting;
  }
  EXPECT_TRUE(tax_currency::ratesExist(quoted, -2));
  EXPECT_TRUE(tax_currency::ratesExist(quoted, 0));
  EXPECT_FALSE(tax_currency::ratesExist(quoted, -1));
  EXPECT_FALSE(tax_currency::ratesExist(missing, -2));
}

TEST_P(LoadRates, OpenModeShowsTheWindowUntilRatesExistOrTheUserGivesUp) {
  loadRates("1", "0", quoted, window(false));
  EXPECT_EQ(calls, (std::vector<WindowCall>{{quoted, ""}}));  // rates there: one look, no question
  EXPECT_TRUE(fe().messages().empty());

  calls.clear();
  fe().expectMessage(Yes, "Na dzień 10.01.2024 nie zdefiniowano kursów walut.|Czy chcesz uzupełnić tabelę kursów?");
  fe().expectMessage(No, "nie zdefiniowano kursów walut");
  loadRates("1", "0", missing, window(false));
  EXPECT_EQ(calls, (std::vector<WindowCall>{{missing, ""}, {missing, ""}}));

  calls.clear();
  loadRates("1", "", missing, window(true));  // the user fills the table the first time
  EXPECT_EQ(calls, (std::vector<WindowCall>{{missing, ""}}));
}

TEST_P(LoadRates, StartModeFollowsTheSetting) {
  // Nothing configured: missing rates are left missing, nobody is asked.
  loadRates("0", "0", missing, window(true));
  EXPECT_TRUE(calls.empty());

  setting("Tak");
  fe().expectMessage(No, "nie zdefiniowano kursów walut");
  loadRates("0", "0", missing, window(true));
  EXPECT_TRUE(calls.empty());

  // On yes the window opens for today, whatever day was asked about.
  fe().expectMessage(Yes, "nie zdefiniowano kursów walut");
  fe().expectMessage(No, "nie zdefiniowano kursów walut");
  loadRates("0", "0", missing, window(false));
  EXPECT_EQ(calls, (std::vector<WindowCall>{{rt::today(), ""}}));

  // A download mode opens the window once in that mode, even when the bank had no table
  // for the day (asking again would never end).
  calls.clear();
  setting("Pobierz z ECB");
  loadRates("0", "0", missing, window(false, 1));
  EXPECT_EQ(calls, (std::vector<WindowCall>{{missing, "Pobierz z ECB"}}));

  // Rates there: nothing to do in any mode.
  calls.clear();
  setting("Pobierz z NBP");
  loadRates("0", "0", quoted, window(false));
  EXPECT_TRUE(calls.empty());
}

TEST_P(LoadRates, DayZeroMeansTodayAndTheCallerIsNotified) {
  loadRates("1", "0", 0, window(true));
  EXPECT_EQ(calls, (std::vector<WindowCall>{{rt::today(), ""}}));

  std::atomic<int> thread{0};
  std::atomic<int> notifiedFrom{-1};
  auto waiter = rt::startProcedure([&] {
    auto w = rt::Window::open("slownik$slown012", "P1$FORMWINDOW");
    if (!w) return;
    thread = rt::threadNumber();
    for (int i = 0; i < 50; ++i) {
      auto e = w->nextEvent(std::chrono::milliseconds(100));
      if (e && e->code == rt::event::Notify) {
        notifiedFrom = e->fromThread;
        break;
      }
    }
    w->close();
  });
  for (int i = 0; i < 200 && thread == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_NE(thread, 0);
  loadRates("1", std::to_string(thread.load()), quoted, window(false));
  waiter.join();
  EXPECT_EQ(notifiedFrom, rt::threadNumber());
}

SLOWNIK_ON_ALL_BACKENDS(LoadRates);

}  // namespace
}  // namespace slownik
