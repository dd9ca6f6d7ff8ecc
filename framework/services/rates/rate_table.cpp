#include "framework/services/rates/rate_table.h"

#include "framework/runtime/date_time.h"
#include "framework/services/program_parameters.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace slownik::svc {
namespace {

std::mutex sourcesMutex;

// The real banks, unless the environment points elsewhere (a mirror, a proxy, a test server).
RateSources initialSources() {
  RateSources s;
  if (const char* nbp = std::getenv("SLOWNIK_NBP_URL")) s.nbpBase = nbp;
  if (const char* ecb = std::getenv("SLOWNIK_ECB_URL")) s.ecbBase = ecb;
  return s;
}
RateSources sources = initialSources();

}  // namespace

namespace {

std::string trimmed(std::string text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A user's own address wins over the company's, so one setting serves every company.
std::string addressParameter(const char* name) {
  std::string value = trimmed(POBIERZPARAMKONF("u", name));
  if (value.empty()) value = trimmed(POBIERZPARAMKONF("s", name));
  while (!value.empty() && value.back() == '/') value.pop_back();
  return value;
}

}  // namespace

RateSources rateSources() {
  RateSources s;
  {
    std::lock_guard lock(sourcesMutex);
    s = sources;
  }
  if (std::string nbp = addressParameter(kNbpAddressParameter); !nbp.empty()) s.nbpBase = std::move(nbp);
  if (std::string ecb = addressParameter(kEcbAddressParameter); !ecb.empty()) s.ecbBase = std::move(ecb);
  return s;
}

void setRateSources(RateSources s) {
  std::lock_guard lock(sourcesMutex);
  sources = std::move(s);
}

std::string isoDate(long day) {
  auto date = rt::civilDate(static_cast<std::int32_t>(day));
  if (!date) return {};
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", date->year, date->month, date->day);
  return buf;
}

long dayFromIso(const std::string& iso) {
  int y = 0, m = 0, d = 0;
  if (std::sscanf(iso.c_str(), "%4d-%2d-%2d", &y, &m, &d) != 3) return 0;
  return rt::dayNumber(y, m, d);
}

}  // namespace slownik::svc
