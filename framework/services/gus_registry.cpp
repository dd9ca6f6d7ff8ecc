#include "framework/services/gus_registry.h"

#include <charconv>
#include <string>

#include "framework/runtime/front_end.h"
#include "framework/services/gus_registry_client.h"
#include "framework/services/gus_registry_fields.h"
#include "framework/services/gus_registry_prompt.h"
#include "framework/services/program_parameters.h"

namespace slownik::svc {
namespace {

constexpr const char* kProductionAddress = "https://wyszukiwarkaregon.stat.gov.pl/wsBIR/UslugaBIRzewnPubl.svc";
constexpr long kDefaultTimeout = 30;

// A user's own setting wins over the company's, so that one key serves every company
// the user works in, new ones included.
std::string parameter(std::string_view name) {
  std::string value = POBIERZPARAMKONF("u", name);
  if (value.find_first_not_of(' ') == std::string::npos) value = POBIERZPARAMKONF("s", name);
  auto first = value.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return value.substr(first, value.find_last_not_of(' ') - first + 1);
}

GusSettings settings() {
  GusSettings s;
  s.address = parameter("GUS_Adres");
  if (s.address.empty()) s.address = kProductionAddress;
  s.key = parameter("GUS_Klucz");
  const std::string limit = parameter("GUS_LimitCzasu");
  long seconds = 0;
  auto [end, ec] = std::from_chars(limit.data(), limit.data() + limit.size(), seconds);
  s.timeoutSeconds = ec == std::errc() && end == limit.data() + limit.size() && seconds > 0 ? seconds : kDefaultTimeout;
  return s;
}

// Shows the wait cursor for as long as it lives.
class BusyCursor {
 public:
  BusyCursor() { rt::frontEnd().setBusy(true); }
  ~BusyCursor() { rt::frontEnd().setBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

std::string failureText(const GusLookup& lookup, const std::string& nip, long timeout) {
  const std::string because = lookup.detail.empty() ? std::string() : " (" + lookup.detail + ")";
  switch (lookup.outcome) {
    case GusOutcome::NotFound:
      return "Nie znaleziono w rejestrze GUS podmiotu o numerze NIP " + nip + ".";
    case GusOutcome::NoConnection:
      return "Brak połączenia z rejestrem: " + lookup.detail;
    case GusOutcome::TimedOut:
      return "Rejestr GUS nie odpowiedział w ciągu " + std::to_string(timeout) +
             " s.|Spróbuj ponownie za chwilę.";
    case GusOutcome::Malformed:
      return "Odpowiedzi rejestru GUS nie można odczytać" + because + ".";
    case GusOutcome::Refused:
      return "Rejestr GUS odmówił odpowiedzi" + because + ".";
    case GusOutcome::Found: break;
  }
  return {};
}

int fail(GusReplyRecord& reply, const std::string& status) {
  reply.clear();
  reply.set(GusField::Status, status);
  return 0;
}

}  // namespace

int PODAJDANEGUS(GusReplyRecord& reply) {
  const GusSettings s = settings();
  if (s.key.empty())
    return fail(reply, "Brak klucza użytkownika rejestru GUS.|Wpisz go w parametrze programu GUS_Klucz.");
  auto nip = askRegistryNip(reply.text(GusField::Nip));
  if (!nip) return fail(reply, "EXIT");
  GusLookup lookup;
  {
    BusyCursor busy;
    lookup = lookUpNip(s, *nip);
  }
  if (lookup.outcome != GusOutcome::Found) return fail(reply, failureText(lookup, *nip, s.timeoutSeconds));
  fillReply(lookup.entity, reply);
  return 1;
}

}  // namespace slownik::svc
