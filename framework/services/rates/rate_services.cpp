#include "framework/services/rates/rate_services.h"

#include "framework/runtime/date_time.h"
#include "framework/services/messages.h"
#include "framework/services/progress_window.h"
#include "framework/services/rates/nbp_client.h"
#include "framework/services/rates/rate_download.h"
#include "framework/sql/thread_database.h"

namespace slownik::svc {
namespace {

int download(RateSource source, std::int32_t& date, std::int32_t& flag) {
  sql::Status status;
  sql::Database* db = sql::threadDatabase(&status);
  if (!db) {
    MSG_OSTRZEZENIE("Nie można pobrać kursów walut: " + status.message());
    return 0;
  }
  long day = date > 0 ? date : rt::today();
  const bool nbp = source == RateSource::Nbp;
  RateDownload result;
  {
    // Each day asked is a request to the bank that may take seconds: the person sees which
    // day is asked and may stop between them. A table is stored whole after the last
    // request, so stopping leaves what the database held.
    ProgressWindow progress;
    progress.open(nbp ? "Pobieranie kursów walut z NBP" : "Pobieranie kursów walut z ECB");
    progress.setTotal(nbp ? kNbpDaysBack : 2);
    auto step = [&](const std::string& what, int done) {
      progress.setProgress(done);
      progress.setText(nbp ? "Kursy z dnia " + what : "Plik " + what);
      progress.setCounter((nbp ? "Sprawdzone dni: " : "Pobrane pliki: ") + std::to_string(done));
      return !progress.checkCancel();
    };
    result = downloadRates(*db, source, day, step);
  }
  if (result.cancelled) {
    MSG_INFORMACJA(result.error);
    return 0;
  }
  if (!result.ok) {
    MSG_OSTRZEZENIE(result.error);
    return 0;
  }
  date = static_cast<std::int32_t>(result.day);
  flag = result.alreadyThere ? 1 : 0;
  return 1;
}

}  // namespace

int POBIERZKURSYNBP(std::int32_t& date, std::int32_t& flag) { return download(RateSource::Nbp, date, flag); }
int POBIERZKURSYECB(std::int32_t& date, std::int32_t& flag) { return download(RateSource::Ecb, date, flag); }

}  // namespace slownik::svc
