#pragma once
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "support/http_server.h"

namespace slownik::test {

//! The currencies the rate tests download for: the base currency, two of a unit and one
//! quoted per hundred.
inline constexpr const char* kRateCurrenciesSql =
    "INSERT INTO WALUTY (SYM_WALUTY, NAZWA, NUMER, MNOZNIK_WALUTY) VALUES ('PLN', 'złoty polski', 1, 1), "
    "('EUR', 'euro', 0, 1), ('USD', 'dolar amerykański', 0, 1), ('HUF', 'forint', 0, 100)";

//! The two central banks' rate services as tests need them, on the local HTTP server:
//! the Polish bank's tables A and C by day and by range of days (refusing more than 93
//! days, answering 404 where nothing was published), and the European bank's daily and
//! history files. Each bank publishes on the workdays it is told, skipping its holidays.
class FakeRateBanks {
 public:
  FakeRateBanks();

  std::string nbpAddress() const { return server_.baseUrl() + "/nbp"; }
  std::string ecbAddress() const { return server_.baseUrl() + "/ecb"; }

  //! Both banks publish on every Monday to Friday from `from` to `to` (day numbers),
  //! except on their own holidays.
  void publishWorkdays(long from, long to, std::set<long> nbpHolidays, std::set<long> ecbHolidays);
  std::set<long> nbpDays() const;
  std::set<long> ecbDays() const;

  //! The rates published on a day: the Polish bank's average rates of EUR, USD and HUF (per
  //! unit) and its buying and selling rate of EUR and USD (table C); the European bank's
  //! zloty and dollar per euro.
  static double nbpMid(const std::string& code, long day);
  static double nbpBid(const std::string& code, long day) { return nbpMid(code, day) - 0.04; }
  static double nbpAsk(const std::string& code, long day) { return nbpMid(code, day) + 0.04; }
  static double ecbPerEuro(const std::string& code, long day);

  //! Called on the server's thread before each answer, with the path asked.
  void onRequest(std::function<void(const std::string&)> hook);
  //! The paths asked, in order.
  std::vector<std::string> requests() const { return server_.requests(); }
  //! Every answer is this status and body instead (a failing service).
  void breakWith(int status);

 private:
  HttpServer::Reply nbp(const std::string& path);
  HttpServer::Reply ecb(const std::string& path);
  std::string nbpTable(char kind, long day) const;
  std::string ecbDay(long day) const;

  mutable std::mutex mutex_;
  std::set<long> nbpDays_;
  std::set<long> ecbDays_;
  std::function<void(const std::string&)> hook_;
  int brokenStatus_ = 0;
  HttpServer server_;  // last: it stops before what its handlers use goes
};

//! "YYYY-MM-DD" of a day number and back (0 when not a date).
std::string isoDay(long day);
long dayOfIso(const std::string& iso);

}  // namespace slownik::test
