#include "framework/services/rates/ecb_client.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <map>

#include "framework/services/rates/http_client.h"

namespace slownik::svc {
namespace {

// The last day of the file on or before `day`; nullptr when the file starts later.
const std::pair<const long, EuroRates>* dayOnOrBefore(const EcbFile& file, long day) {
  auto it = file.days.upper_bound(day);
  if (it == file.days.begin()) return nullptr;
  return &*std::prev(it);
}

}  // namespace

EcbFile readEcbFile(const std::string& name) {
  EcbFile file;
  HttpResponse r = httpGet(rateSources().ecbBase + "/" + name, 60);
  if (!r.error.empty()) {
    file.error = "Nie można połączyć się z serwerem EBC (" + r.error + ").|Sprawdź połączenie z internetem.";
    return file;
  }
  if (r.status != 200) {
    file.error = "Serwer EBC odpowiedział błędem " + std::to_string(r.status) + ".";
    return file;
  }
  pugi::xml_document doc;
  if (!doc.load_buffer(r.body.data(), r.body.size())) {
    file.error = "Serwer EBC przysłał nieczytelną tabelę kursów.";
    return file;
  }
  // The days are Cube elements with a time attribute, each holding Cube currency/rate pairs;
  // the envelope's namespaces differ between the files, so match on the local shape only.
  for (pugi::xpath_node node : doc.select_nodes("//*[local-name()='Cube'][@time]")) {
    long day = dayFromIso(node.node().attribute("time").value());
    if (!day) continue;
    EuroRates& rates = file.days[day];
    for (pugi::xml_node cube : node.node().children()) {
      const char* code = cube.attribute("currency").value();
      double rate = std::strtod(cube.attribute("rate").value(), nullptr);
      if (*code && rate > 0) rates[code] = rate;
    }
  }
  if (file.days.empty()) file.error = "Tabela kursów EBC jest pusta.";
  return file;
}

RateFetch ecbTableInBase(long day, const EuroRates& euro, const std::string& baseCurrency) {
  RateFetch fetch;
  double euroInBase = 1.0;
  if (baseCurrency != "EUR") {
    auto base = euro.find(baseCurrency);
    if (base == euro.end()) {
      fetch.error = "Tabela EBC nie zawiera waluty bazowej " + baseCurrency + ".";
      return fetch;
    }
    euroInBase = base->second;
  }
  fetch.table.day = day;
  if (baseCurrency != "EUR") fetch.table.rates.push_back({"EUR", euroInBase, 0, 0});
  for (const auto& [code, perEuro] : euro) {
    if (code == baseCurrency) continue;
    fetch.table.rates.push_back({code, euroInBase / perEuro, 0, 0});
  }
  fetch.ok = true;
  return fetch;
}

RateFetch fetchEcbRates(long day, const std::string& baseCurrency, const RateProgress& progress) {
  RateFetch fetch;
  int asked = 0;
  auto stopped = [&](const char* name) {
    if (!progress || progress(name, asked++)) return false;
    fetch.cancelled = true;
    fetch.error = kRatesCancelled;
    return true;
  };
  if (stopped(kEcbDailyFile)) return fetch;
  EcbFile file = readEcbFile(kEcbDailyFile);
  if (!file.error.empty()) {
    fetch.error = file.error;
    return fetch;
  }
  const auto* found = dayOnOrBefore(file, day);
  if (!found) {
    // A past date: the short history covers the last 90 days, the full one everything.
    long latest = file.days.rbegin()->first;
    const char* history = latest - day < 85 ? kEcbHistory90File : kEcbHistoryFile;
    if (stopped(history)) return fetch;
    file = readEcbFile(history);
    if (!file.error.empty()) {
      fetch.error = file.error;
      return fetch;
    }
    found = dayOnOrBefore(file, day);
  }
  if (!found) {
    fetch.error = "Bank EBC nie ma kursów walut na dzień " + isoDate(day) + ".";
    return fetch;
  }
  return ecbTableInBase(found->first, found->second, baseCurrency);
}

}  // namespace slownik::svc
