#include "framework/services/rates/nbp_range_client.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>

#include "framework/services/rates/http_client.h"

namespace slownik::svc {
namespace {

double number(const nlohmann::json& rate, const char* name) {
  auto it = rate.find(name);
  return it != rate.end() && it->is_number() ? it->get<double>() : 0.0;
}

// One table of the answer; day 0 when it does not say which day it is of.
RateTable tableOf(const nlohmann::json& table) {
  RateTable out;
  auto date = table.find("effectiveDate");
  if (date == table.end() || !date->is_string()) return out;
  out.day = dayFromIso(date->get<std::string>());
  auto rates = table.find("rates");
  if (rates == table.end() || !rates->is_array()) {
    out.day = 0;
    return out;
  }
  for (const auto& rate : *rates) {
    if (!rate.is_object() || !rate.contains("code") || !rate["code"].is_string()) continue;
    out.rates.push_back({rate["code"].get<std::string>(), number(rate, "mid"), number(rate, "bid"), number(rate, "ask")});
  }
  return out;
}

}  // namespace

NbpRangeFetch fetchNbpRange(const std::string& kind, long from, long to) {
  NbpRangeFetch fetch;
  const std::string url = rateSources().nbpBase + "/api/exchangerates/tables/" + kind + "/" + isoDate(from) + "/" +
                          isoDate(to) + "/?format=json";
  HttpResponse r = httpGet(url, 60);
  if (!r.error.empty()) {
    fetch.error = "Nie można połączyć się z serwerem NBP (" + r.error + ").|Sprawdź połączenie z internetem.";
    return fetch;
  }
  // The bank answers 404 for a range in which it published no table (holidays).
  if (r.status == 404) {
    fetch.ok = true;
    return fetch;
  }
  if (r.status != 200) {
    fetch.error = "Serwer NBP odpowiedział błędem " + std::to_string(r.status) + ".";
    return fetch;
  }
  auto parsed = nlohmann::json::parse(r.body, nullptr, false);
  if (parsed.is_discarded() || !parsed.is_array()) {
    fetch.error = "Serwer NBP przysłał nieczytelną tabelę kursów.";
    return fetch;
  }
  for (const auto& table : parsed) {
    RateTable t = table.is_object() ? tableOf(table) : RateTable{};
    if (t.day == 0) {
      fetch.tables.clear();
      fetch.error = "Serwer NBP przysłał nieczytelną tabelę kursów.";
      return fetch;
    }
    // A table outside the range asked is not what was asked for: left out.
    if (t.day >= from && t.day <= to) fetch.tables.push_back(std::move(t));
  }
  std::sort(fetch.tables.begin(), fetch.tables.end(), [](const RateTable& a, const RateTable& b) { return a.day < b.day; });
  fetch.ok = true;
  return fetch;
}

std::vector<RateTable> mergeNbpTables(std::vector<RateTable> tablesA, const std::vector<RateTable>& tablesC) {
  std::map<long, const RateTable*> byDay;
  for (const auto& c : tablesC) byDay[c.day] = &c;
  for (auto& a : tablesA) {
    for (auto& rate : a.rates) rate.bid = rate.ask = 0;  // only table C says these
    auto c = byDay.find(a.day);
    if (c == byDay.end()) continue;
    for (auto& rate : a.rates) {
      if (const CurrencyRate* quoted = c->second->find(rate.code)) {
        rate.bid = quoted->bid;
        rate.ask = quoted->ask;
      }
    }
  }
  return tablesA;
}

}  // namespace slownik::svc
