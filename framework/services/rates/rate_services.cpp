#include "framework/services/rates/rate_services.h"

#include "framework/runtime/date_time.h"
#include "framework/runtime/front_end.h"
#include "framework/services/messages.h"
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
  rt::frontEnd().setBusy(true);
  RateDownload result = downloadRates(*db, source, day);
  rt::frontEnd().setBusy(false);
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
