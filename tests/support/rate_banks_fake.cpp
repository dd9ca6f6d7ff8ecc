#include "support/rate_banks_fake.h"

#include <cstdio>

#include "framework/runtime/date_time.h"

namespace slownik::test {

std::string isoDay(long day) {
  auto date = rt::civilDate(static_cast<std::int32_t>(day));
  if (!date) return {};
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", date->year, date->month, date->day);
  return buf;
}

long dayOfIso(const std::string& iso) {
  int y = 0, m = 0, d = 0;
  if (std::sscanf(iso.c_str(), "%4d-%2d-%2d", &y, &m, &d) != 3) return 0;
  return rt::dayNumber(y, m, d);
}

namespace {

std::string fixed(double value, int places) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*f", places, value);
  return buf;
}

HttpServer::Reply reply(int status, std::string body) { return {status, std::move(body), "application/json"}; }

}  // namespace

FakeRateBanks::FakeRateBanks() {
  server_.handlePrefix("/nbp/", [this](const HttpServer::Request& r) { return nbp(r.path); });
  server_.handlePrefix("/ecb/", [this](const HttpServer::Request& r) { return ecb(r.path); });
}

void FakeRateBanks::publishWorkdays(long from, long to, std::set<long> nbpHolidays, std::set<long> ecbHolidays) {
  std::lock_guard lock(mutex_);
  for (long day = from; day <= to; ++day) {
    // dayOfWeek: 0 Sunday … 6 Saturday
    const int weekday = rt::dayOfWeek(static_cast<std::int32_t>(day));
    if (weekday == 0 || weekday == 6) continue;
    if (!nbpHolidays.count(day)) nbpDays_.insert(day);
    if (!ecbHolidays.count(day)) ecbDays_.insert(day);
  }
}

std::set<long> FakeRateBanks::nbpDays() const {
  std::lock_guard lock(mutex_);
  return nbpDays_;
}

std::set<long> FakeRateBanks::ecbDays() const {
  std::lock_guard lock(mutex_);
  return ecbDays_;
}

double FakeRateBanks::nbpMid(const std::string& code, long day) {
  const double drift = static_cast<double>(day % 1000) / 10000.0;
  if (code == "EUR") return 4.2 + drift;
  if (code == "USD") return 3.6 + drift;
  if (code == "HUF") return 0.011 + static_cast<double>(day % 100) / 1e6;  // six places, as the bank gives it
  return 0;
}

double FakeRateBanks::ecbPerEuro(const std::string& code, long day) {
  const double drift = static_cast<double>(day % 1000) / 10000.0;
  if (code == "PLN") return 4.25 + drift;
  if (code == "USD") return 1.16;
  return 0;
}

void FakeRateBanks::onRequest(std::function<void(const std::string&)> hook) {
  std::lock_guard lock(mutex_);
  hook_ = std::move(hook);
}

void FakeRateBanks::breakWith(int status) {
  std::lock_guard lock(mutex_);
  brokenStatus_ = status;
}

std::string FakeRateBanks::nbpTable(char kind, long day) const {
  std::string t = std::string("{\"table\":\"") + kind + "\",\"no\":\"" + std::to_string(day % 250 + 1) + "/" + kind +
                  "/NBP/" + isoDay(day).substr(0, 4) + "\",";
  // Table C is made the working day before it takes effect.
  if (kind == 'C') t += "\"tradingDate\":\"" + isoDay(day - 1) + "\",";
  t += "\"effectiveDate\":\"" + isoDay(day) + "\",\"rates\":[";
  if (kind == 'A') {
    t += "{\"currency\":\"dolar amerykański\",\"code\":\"USD\",\"mid\":" + fixed(nbpMid("USD", day), 4) + "},";
    t += "{\"currency\":\"euro\",\"code\":\"EUR\",\"mid\":" + fixed(nbpMid("EUR", day), 4) + "},";
    t += "{\"currency\":\"forint (Węgry)\",\"code\":\"HUF\",\"mid\":" + fixed(nbpMid("HUF", day), 6) + "}";
  } else {
    for (const char* code : {"USD", "EUR"}) {
      t += std::string(code == std::string("USD") ? "" : ",") + "{\"currency\":\"x\",\"code\":\"" + code +
           "\",\"bid\":" + fixed(nbpBid(code, day), 4) + ",\"ask\":" + fixed(nbpAsk(code, day), 4) + "}";
    }
  }
  return t + "]}";
}

// /nbp/api/exchangerates/tables/{A|C}/{day}[/{last day}]/?format=json
HttpServer::Reply FakeRateBanks::nbp(const std::string& path) {
  std::function<void(const std::string&)> hook;
  {
    std::lock_guard lock(mutex_);
    hook = hook_;
  }
  if (hook) hook(path);
  std::lock_guard lock(mutex_);
  if (brokenStatus_) return reply(brokenStatus_, "Service Unavailable");
  const std::string head = "/nbp/api/exchangerates/tables/";
  if (path.compare(0, head.size(), head) != 0 || path.size() < head.size() + 13) return reply(404, "Not Found");
  const char kind = path[head.size()];
  if (kind != 'A' && kind != 'C') return reply(404, "Not Found");
  const long from = dayOfIso(path.substr(head.size() + 2, 10));
  long to = from;
  if (path.size() > head.size() + 24 && path[head.size() + 12] == '/' && path[head.size() + 13] != '?')
    to = dayOfIso(path.substr(head.size() + 13, 10));
  if (!from || !to || to < from) return reply(400, "400 BadRequest - Błędny zakres dat");
  if (to - from + 1 > 93) return reply(400, "400 BadRequest - Przekroczony limit 93 dni / Limit of 93 days has been exceeded");
  std::string body;
  for (auto it = nbpDays_.lower_bound(from); it != nbpDays_.end() && *it <= to; ++it)
    body += (body.empty() ? "" : ",") + nbpTable(kind, *it);
  if (body.empty()) return reply(404, "404 NotFound - Brak danych");
  return reply(200, "[" + body + "]");
}

std::string FakeRateBanks::ecbDay(long day) const {
  return "<Cube time=\"" + isoDay(day) + "\"><Cube currency=\"USD\" rate=\"" + fixed(ecbPerEuro("USD", day), 4) +
         "\"/><Cube currency=\"PLN\" rate=\"" + fixed(ecbPerEuro("PLN", day), 4) + "\"/></Cube>";
}

HttpServer::Reply FakeRateBanks::ecb(const std::string& path) {
  std::function<void(const std::string&)> hook;
  {
    std::lock_guard lock(mutex_);
    hook = hook_;
  }
  if (hook) hook(path);
  std::lock_guard lock(mutex_);
  if (brokenStatus_) return reply(brokenStatus_, "Service Unavailable");
  std::string days;
  if (path == "/ecb/eurofxref-daily.xml") {
    if (!ecbDays_.empty()) days = ecbDay(*ecbDays_.rbegin());
  } else if (path == "/ecb/eurofxref-hist.xml" || path == "/ecb/eurofxref-hist-90d.xml") {
    // Newest first, as the bank writes them.
    for (auto it = ecbDays_.rbegin(); it != ecbDays_.rend(); ++it) days += ecbDay(*it);
  } else {
    return reply(404, "Not Found");
  }
  return {200,
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
          "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\"><gesmes:subject>Reference rates</gesmes:subject>"
          "<Cube>" + days + "</Cube></gesmes:Envelope>",
          "text/xml"};
}

}  // namespace slownik::test
