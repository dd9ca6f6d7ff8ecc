#include "framework/services/rates/rate_period.h"

#include <algorithm>

#include "framework/runtime/date_time.h"
#include "framework/services/rates/ecb_client.h"
#include "framework/services/rates/nbp_range_client.h"
#include "framework/services/rates/rate_download.h"

namespace slownik::svc {
namespace {

// The period's stretches of up to 93 days, oldest first.
std::vector<std::pair<long, long>> nbpStretches(const RatePeriod& period) {
  std::vector<std::pair<long, long>> out;
  for (long from = period.from; from <= period.to; from += kNbpDaysPerRequest)
    out.emplace_back(from, std::min(period.to, from + kNbpDaysPerRequest - 1));
  return out;
}

std::string shownDate(long day) { return rt::formatShortDate(static_cast<std::int32_t>(day)); }

class PeriodRun {
 public:
  PeriodRun(sql::Database& db, const RatePeriod& period, const RatePeriodProgress& progress)
      : db_(db), period_(period), progress_(progress) {
    step_.requestsTotal = ratePeriodRequests(period);
  }

  RatePeriodDownload run() {
    if (period_.nbp && !nbp()) return out_;
    if (period_.ecb && !ecb()) return out_;
    out_.ok = true;
    return out_;
  }

 private:
  // Tells where the work stands; false (and the outcome says so) when the person stopped.
  bool goOn(std::string what) {
    step_.what = std::move(what);
    step_.requestsDone = out_.requests;
    step_.storedDays = out_.stored();
    if (!progress_ || progress_(step_)) return true;
    out_.cancelled = true;
    out_.error = kRatesCancelled;
    return false;
  }

  bool ask(const std::string& what) {
    if (!goOn(what)) return false;
    ++out_.requests;
    return true;
  }

  bool fail(std::string error) {
    out_.error = std::move(error);
    return false;
  }

  bool store(RateSource source, const RateTable& table) {
    RateDownload day;
    sql::Status s = storeRateTable(db_, source, table, &day);
    if (!s) return fail("Nie udało się zapisać kursów walut z dnia " + shownDate(table.day) + ": " + s.message());
    const bool nbp = source == RateSource::Nbp;
    (day.alreadyThere ? (nbp ? out_.nbpKept : out_.ecbKept) : (nbp ? out_.nbpStored : out_.ecbStored))++;
    return goOn(step_.what);
  }

  bool nbp() {
    for (auto [from, to] : nbpStretches(period_)) {
      const std::string stretch = ": " + shownDate(from) + " – " + shownDate(to);
      if (!ask("NBP, tabela A" + stretch)) return false;
      NbpRangeFetch a = fetchNbpRange("A", from, to);
      if (!a.ok) return fail(a.error);
      // Table C only matters for days that have table A.
      NbpRangeFetch c;
      c.ok = true;
      if (!a.tables.empty()) {
        if (!ask("NBP, tabela C" + stretch)) return false;
        c = fetchNbpRange("C", from, to);
        if (!c.ok) return fail(c.error);
      }
      for (const RateTable& table : mergeNbpTables(std::move(a.tables), c.tables))
        if (!store(RateSource::Nbp, table)) return false;
    }
    return true;
  }

  bool ecb() {
    // The short history covers the last 90 days, the full one everything since 1999.
    const char* file = rt::today() - period_.from < 85 ? kEcbHistory90File : kEcbHistoryFile;
    if (!ask(std::string("ECB, plik ") + file)) return false;
    EcbFile history = readEcbFile(file);
    if (!history.error.empty()) return fail(history.error);
    const std::string base = baseCurrency(db_);
    for (auto it = history.days.lower_bound(period_.from); it != history.days.end() && it->first <= period_.to; ++it) {
      RateFetch table = ecbTableInBase(it->first, it->second, base);
      if (!table.ok) return fail(table.error);
      if (!store(RateSource::Ecb, table.table)) return false;
    }
    return true;
  }

  sql::Database& db_;
  const RatePeriod& period_;
  const RatePeriodProgress& progress_;
  RatePeriodStep step_;
  RatePeriodDownload out_;
};

}  // namespace

std::optional<std::string> ratePeriodProblem(const RatePeriod& period, long today) {
  if (period.from <= 0) return std::string("Podaj datę początkową okresu.");
  if (period.to <= 0) return std::string("Podaj datę końcową okresu.");
  if (period.from > period.to) return std::string("Data początkowa jest późniejsza niż data końcowa!");
  if (period.to > today)
    return "Kursów z dni po dzisiejszym jeszcze nie ogłoszono.|Data końcowa nie może być późniejsza niż " +
           shownDate(today) + ".";
  if (period.to >= ratePeriodLimit(period.from))
    return std::string("Kursy można pobrać najwyżej za jeden rok naraz.|Skróć okres albo pobierz go w częściach.");
  if (!period.nbp && !period.ecb) return std::string("Wybierz bank, z którego pobrać kursy: NBP, ECB lub oba.");
  return std::nullopt;
}

long ratePeriodLimit(long from) {
  auto date = rt::civilDate(static_cast<std::int32_t>(from));
  if (!date) return from;
  if (date->month == 2 && date->day == 29) return rt::dayNumber(date->year + 1, 3, 1);
  return rt::dayNumber(date->year + 1, date->month, date->day);
}

int ratePeriodRequests(const RatePeriod& period) {
  if (period.from <= 0 || period.to < period.from) return 0;
  int requests = period.nbp ? 2 * static_cast<int>(nbpStretches(period).size()) : 0;
  return requests + (period.ecb ? 1 : 0);
}

RatePeriodDownload downloadRatePeriod(sql::Database& db, const RatePeriod& period, const RatePeriodProgress& progress) {
  if (period.from <= 0 || period.to < period.from) {
    RatePeriodDownload out;
    out.error = "Niepoprawny okres.";
    return out;
  }
  return PeriodRun(db, period, progress).run();
}

}  // namespace slownik::svc
