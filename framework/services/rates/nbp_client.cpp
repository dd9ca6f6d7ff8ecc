#include "framework/services/rates/nbp_client.h"

#include <nlohmann/json.hpp>

#include "framework/services/rates/http_client.h"

namespace slownik::svc {
namespace {


enum class Answer { Table, NoTable, Failed };

Answer fetchTable(const std::string& kind, long day, nlohmann::json* table, std::string* error) {
  std::string url = rateSources().nbpBase + "/api/exchangerates/tables/" + kind + "/" + isoDate(day) + "/?format=json";
  HttpResponse r = httpGet(url);
  if (!r.error.empty()) {
    *error = "Nie można połączyć się z serwerem NBP (" + r.error + ").|Sprawdź połączenie z internetem.";
    return Answer::Failed;
  }
  if (r.status == 404) return Answer::NoTable;
  if (r.status != 200) {
    *error = "Serwer NBP odpowiedział błędem " + std::to_string(r.status) + ".";
    return Answer::Failed;
  }
  auto parsed = nlohmann::json::parse(r.body, nullptr, false);
  if (parsed.is_discarded() || !parsed.is_array() || parsed.empty() || !parsed[0].contains("rates")) {
    *error = "Serwer NBP przysłał nieczytelną tabelę kursów.";
    return Answer::Failed;
  }
  *table = parsed[0];
  return Answer::Table;
}

double number(const nlohmann::json& rate, const char* name) {
  auto it = rate.find(name);
  return it != rate.end() && it->is_number() ? it->get<double>() : 0.0;
}

}  // namespace

RateFetch fetchNbpRates(long day, const RateProgress& progress) {
  RateFetch fetch;
  for (long d = day; d > day - kNbpDaysBack; --d) {
    if (progress && !progress(isoDate(d), static_cast<int>(day - d))) {
      fetch.cancelled = true;
      fetch.error = kRatesCancelled;
      return fetch;
    }
    nlohmann::json tableA;
    Answer a = fetchTable("A", d, &tableA, &fetch.error);
    if (a == Answer::Failed) return fetch;
    if (a == Answer::NoTable) continue;
    fetch.table.day = d;
    for (const auto& rate : tableA["rates"]) {
      if (!rate.contains("code") || !rate["code"].is_string()) continue;
      fetch.table.rates.push_back({rate["code"].get<std::string>(), number(rate, "mid"), 0, 0});
    }
    // Table C covers fewer currencies and may be missing on a day that has table A.
    nlohmann::json tableC;
    std::string ignored;
    if (fetchTable("C", d, &tableC, &ignored) == Answer::Table) {
      for (const auto& rate : tableC["rates"]) {
        if (!rate.contains("code") || !rate["code"].is_string()) continue;
        for (auto& r : fetch.table.rates) {
          if (r.code != rate["code"].get<std::string>()) continue;
          r.bid = number(rate, "bid");
          r.ask = number(rate, "ask");
        }
      }
    }
    fetch.ok = true;
    fetch.error.clear();
    return fetch;
  }
  fetch.error = "Bank NBP nie opublikował kursów walut na dzień " + isoDate(day) + " ani w dwóch tygodniach przed nim.";
  return fetch;
}

}  // namespace slownik::svc
