#include "dictionaries/tax_currency/ladujwaluty.h"

#include <cstdlib>

#include "dictionaries/tax_currency/rates_window.h"
#include "framework/data/requests.h"
#include "framework/runtime/date_time.h"
#include "framework/runtime/event.h"
#include "framework/runtime/procedure_thread.h"
#include "framework/runtime/window.h"
#include "framework/services/messages.h"
#include "framework/services/program_parameters.h"
#include "framework/services/sql_services.h"

namespace slownik::tax_currency {
namespace {

constexpr const char* kDownloadNbp = "Pobierz z NBP";
constexpr const char* kDownloadEcb = "Pobierz z ECB";

long number(std::string_view text) { return std::strtol(std::string(text).c_str(), nullptr, 10); }

bool wantsToComplete(std::int32_t day) {
  return svc::MSG_PYTANIE("Na dzień " + rt::formatShortDate(day) +
                          " nie zdefiniowano kursów walut.|Czy chcesz uzupełnić tabelę kursów?") == svc::kYes;
}

}  // namespace

int startupRateSource(std::string_view parameter) {
  if (parameter == kDownloadNbp) return 0;
  if (parameter == kDownloadEcb) return -1;
  return -2;
}

bool ratesExist(std::int32_t day, int source) {
  std::string first =
      svc::FUNCSQL("call TK_Czy_SaKursyWalut(" + std::to_string(day) + "," + std::to_string(source) + ")");
  return number(first) != 0;
}

void loadRates(std::string_view open, std::string_view notify, std::int32_t date, const RateWindowCall& rateWindow) {
  const std::string setting = svc::POBIERZPARAMKONF("s", "WalStartSys");
  const int source = startupRateSource(setting);
  const std::int32_t day = date >= 1 ? date : rt::today();

  if (number(open) != 0) {
    do {
      rateWindow(day, "");
      if (ratesExist(day, source)) break;
    } while (wantsToComplete(day));
  } else {
    while (!ratesExist(day, source)) {
      if (setting == "Tak") {
        if (!wantsToComplete(day)) break;
        rateWindow(rt::today(), "");
      } else if (setting == kDownloadNbp || setting == kDownloadEcb) {
        // One download is all there is to do: on a day without a table the bank's
        // last earlier table arrives, and asking again would loop for ever.
        rateWindow(day, setting);
        break;
      } else {
        break;
      }
    }
  }

  long thread = number(notify);
  if (thread > 0) {
    rt::Event e{rt::event::Notify, {}};
    e.fromThread = rt::threadNumber();
    rt::postToThread(static_cast<int>(thread), e);
  }
}

}  // namespace slownik::tax_currency

extern "C" void LADUJWALUTY(const char* open, const char* notify, std::int32_t date) {
  slownik::tax_currency::loadRates(open ? open : "", notify ? notify : "", date,
                                   [](std::int32_t day, const std::string& mode) {
                                     return slownik::tax_currency::KursyWalutBrw(day, mode);
                                   });
}
