#include "framework/services/white_list.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "framework/runtime/date_time.h"
#include "framework/services/program_parameters.h"

namespace slownik::svc {
namespace {

constexpr const char* kProductionAddress = "https://wl-api.mf.gov.pl";
constexpr long kDefaultTimeout = 20;
constexpr long kTooManyRequests = 429;

bool allDigits(std::string_view text, std::size_t count) {
  return text.size() == count &&
         std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

std::string isoDate(std::int32_t day) {
  auto civil = rt::civilDate(day);
  if (!civil) return {};
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", civil->year, civil->month, civil->day);
  return text;
}

std::string trimmedText(std::string value) {
  const auto first = value.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return value.substr(first, value.find_last_not_of(' ') - first + 1);
}

// One address or time limit serves a user in every company; a company-wide setting is
// the fallback.
std::string parameter(std::string_view name) {
  std::string value = trimmedText(POBIERZPARAMKONF("u", name));
  return value.empty() ? trimmedText(POBIERZPARAMKONF("s", name)) : value;
}

WhiteListCheck failed(WhiteListOutcome outcome, std::string detail) {
  WhiteListCheck check;
  check.outcome = outcome;
  check.detail = std::move(detail);
  return check;
}

std::string stringAt(const nlohmann::json& object, const char* name) {
  auto it = object.find(name);
  if (it == object.end() || it->is_null()) return {};
  return it->is_string() ? it->get<std::string>() : it->dump();
}

}  // namespace

std::string WhiteListCheck::result() const {
  switch (outcome) {
    case WhiteListOutcome::Assigned: return "TAK";
    case WhiteListOutcome::NotAssigned: return "NIE";
    default: return {};
  }
}

std::string whiteListCheckUrl(std::string_view address, std::string_view nip, std::string_view account,
                              std::int32_t day) {
  std::string root(address);
  while (!root.empty() && root.back() == '/') root.pop_back();
  return root + "/api/check/nip/" + std::string(nip) + "/bank-account/" + std::string(account) +
         "?date=" + isoDate(day);
}

WhiteListCheck readWhiteListAnswer(const HttpResponse& response) {
  if (!response.error.empty())
    return failed(response.timedOut ? WhiteListOutcome::TimedOut : WhiteListOutcome::NoConnection, response.error);
  nlohmann::json body = nlohmann::json::parse(response.body, nullptr, false);
  if (response.status == kTooManyRequests)
    return failed(WhiteListOutcome::LimitReached, body.is_object() ? stringAt(body, "message") : std::string());
  if (body.is_discarded() || !body.is_object())
    return failed(WhiteListOutcome::Malformed, "HTTP " + std::to_string(response.status));
  // An error names itself with a code and the service's own message, whatever the status.
  if (body.contains("code") || response.status != 200) {
    std::string code = stringAt(body, "code");
    std::string message = stringAt(body, "message");
    std::string detail = code.empty() ? message : message.empty() ? code : code + ": " + message;
    if (detail.empty()) detail = "HTTP " + std::to_string(response.status);
    return failed(WhiteListOutcome::Refused, detail);
  }
  auto result = body.find("result");
  if (result == body.end() || !result->is_object())
    return failed(WhiteListOutcome::Malformed, "brak wyniku w odpowiedzi");
  const std::string assigned = stringAt(*result, "accountAssigned");
  WhiteListCheck check;
  check.requestId = stringAt(*result, "requestId");
  check.requestDateTime = stringAt(*result, "requestDateTime");
  // Without the request's identifier an answer proves nothing to an auditor.
  if (check.requestId.empty()) return failed(WhiteListOutcome::Malformed, "brak identyfikatora zapytania");
  if (assigned == "TAK") {
    check.outcome = WhiteListOutcome::Assigned;
  } else if (assigned == "NIE") {
    check.outcome = WhiteListOutcome::NotAssigned;
  } else {
    return failed(WhiteListOutcome::Malformed, "nieznany wynik \"" + assigned + "\"");
  }
  return check;
}

WhiteListCheck checkWhiteList(const WhiteListSettings& settings, std::string_view nip, std::string_view account,
                              std::int32_t day) {
  // Only digits ever reach the address, so nothing typed can change the request's path.
  if (!allDigits(nip, 10)) return failed(WhiteListOutcome::Refused, "numer NIP musi mieć 10 cyfr");
  if (!allDigits(account, 26)) return failed(WhiteListOutcome::Refused, "numer rachunku musi mieć 26 cyfr");
  if (!rt::civilDate(day)) return failed(WhiteListOutcome::Refused, "brak daty sprawdzenia");
  return readWhiteListAnswer(httpGet(whiteListCheckUrl(settings.address, nip, account, day), settings.timeoutSeconds));
}

WhiteListSettings whiteListSettings() {
  WhiteListSettings s;
  s.address = parameter("BialaLista_Adres");
  if (s.address.empty()) s.address = kProductionAddress;
  const std::string limit = parameter("BialaLista_LimitCzasu");
  long seconds = 0;
  auto [end, ec] = std::from_chars(limit.data(), limit.data() + limit.size(), seconds);
  s.timeoutSeconds = ec == std::errc() && end == limit.data() + limit.size() && seconds > 0 ? seconds : kDefaultTimeout;
  return s;
}

std::string whiteListFailureText(const WhiteListCheck& check, long timeoutSeconds) {
  const std::string because = check.detail.empty() ? std::string() : " (" + check.detail + ")";
  const std::string notChecked = "|Rachunek nie został oznaczony jako sprawdzony.";
  switch (check.outcome) {
    case WhiteListOutcome::NoConnection:
      return "Brak połączenia z wykazem podatników VAT (biała lista)" + because + "." + notChecked;
    case WhiteListOutcome::TimedOut:
      return "Wykaz podatników VAT nie odpowiedział w ciągu " + std::to_string(timeoutSeconds) + " s." + notChecked +
             "|Spróbuj ponownie za chwilę.";
    case WhiteListOutcome::LimitReached:
      return "Wyczerpano dzienny limit zapytań do wykazu podatników VAT" + because + "." + notChecked +
             "|Spróbuj ponownie jutro.";
    case WhiteListOutcome::Refused:
      return "Wykaz podatników VAT odmówił odpowiedzi" + because + "." + notChecked;
    case WhiteListOutcome::Malformed:
      return "Odpowiedzi wykazu podatników VAT nie można odczytać" + because + "." + notChecked;
    case WhiteListOutcome::Assigned:
    case WhiteListOutcome::NotAssigned:
      break;
  }
  return {};
}

}  // namespace slownik::svc
