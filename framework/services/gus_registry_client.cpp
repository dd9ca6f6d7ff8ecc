#include "framework/services/gus_registry_client.h"

#include <pugixml.hpp>

#include <optional>
#include <vector>

#include "framework/services/rates/http_client.h"

namespace slownik::svc {
namespace {

constexpr const char* kServiceNs = "http://CIS/BIR/PUBL/2014/07";
constexpr const char* kActionBase = "http://CIS/BIR/PUBL/2014/07/IUslugaBIRzewnPubl/";

std::string escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string envelope(const std::string& address, const std::string& operation, const std::string& body) {
  return std::string("<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" xmlns:ns=\"") + kServiceNs +
         "\" xmlns:dat=\"" + kServiceNs + "/DataContract\">"
         "<soap:Header xmlns:wsa=\"http://www.w3.org/2005/08/addressing\">"
         "<wsa:To>" + escaped(address) + "</wsa:To>"
         "<wsa:Action>" + kActionBase + operation + "</wsa:Action>"
         "</soap:Header><soap:Body>" + body + "</soap:Body></soap:Envelope>";
}

// One exchange with the service: the text of <operation>Result, or how it failed.
class Session {
 public:
  explicit Session(const GusSettings& settings) : settings_(settings) {}

  std::optional<std::string> call(const std::string& operation, const std::string& body, GusLookup& failure) {
    std::vector<std::string> headers = {"Content-Type: application/soap+xml; charset=utf-8"};
    if (!sid_.empty()) headers.push_back("sid: " + sid_);
    HttpResponse r = httpPost(settings_.address, envelope(settings_.address, operation, body), headers,
                              settings_.timeoutSeconds);
    if (!r.error.empty()) {
      failure.outcome = r.timedOut ? GusOutcome::TimedOut : GusOutcome::NoConnection;
      failure.detail = r.error;
      return std::nullopt;
    }
    const std::string soap = soapEnvelope(r.body, r.contentType);
    pugi::xml_document doc;
    if (!doc.load_buffer(soap.data(), soap.size())) {
      failure.outcome = r.status == 200 ? GusOutcome::Malformed : GusOutcome::Refused;
      failure.detail = r.status == 200 ? std::string() : "HTTP " + std::to_string(r.status);
      return std::nullopt;
    }
    if (auto fault = doc.select_node("//*[local-name()='Fault']"); fault) {
      failure.outcome = GusOutcome::Refused;
      auto reason = fault.node().select_node(".//*[local-name()='Text']");
      failure.detail = reason ? reason.node().child_value() : "SOAP Fault";
      return std::nullopt;
    }
    const std::string result = "//*[local-name()='" + operation + "Result']";
    auto node = doc.select_node(result.c_str());
    if (!node) {
      failure.outcome = r.status == 200 ? GusOutcome::Malformed : GusOutcome::Refused;
      failure.detail = r.status == 200 ? std::string() : "HTTP " + std::to_string(r.status);
      return std::nullopt;
    }
    return std::string(node.node().text().get());
  }

  bool logIn(GusLookup& failure) {
    auto sid = call("Zaloguj", "<ns:Zaloguj><ns:pKluczUzytkownika>" + escaped(settings_.key) +
                                   "</ns:pKluczUzytkownika></ns:Zaloguj>",
                    failure);
    if (!sid) return false;
    if (sid->empty()) {
      // The service answers a key it does not know with an empty session.
      failure.outcome = GusOutcome::Refused;
      failure.detail = "klucz użytkownika nie został przyjęty";
      return false;
    }
    sid_ = *sid;
    return true;
  }

  void logOut() {
    if (sid_.empty()) return;
    GusLookup ignored;
    call("Wyloguj", "<ns:Wyloguj><ns:pIdentyfikatorSesji>" + escaped(sid_) + "</ns:pIdentyfikatorSesji></ns:Wyloguj>",
         ignored);
    sid_.clear();
  }

 private:
  const GusSettings& settings_;
  std::string sid_;
};

// Logging out of a service that does not answer would only make the person wait again.
bool answered(const GusLookup& lookup) {
  return lookup.outcome != GusOutcome::NoConnection && lookup.outcome != GusOutcome::TimedOut;
}

}  // namespace

std::string soapEnvelope(std::string_view body, std::string_view contentType) {
  if (contentType.find("multipart/") == std::string_view::npos) return std::string(body);
  auto at = contentType.find("boundary=");
  if (at == std::string_view::npos) return std::string(body);
  std::string_view boundary = contentType.substr(at + 9);
  if (!boundary.empty() && boundary.front() == '"') {
    boundary.remove_prefix(1);
    boundary = boundary.substr(0, boundary.find('"'));
  } else {
    boundary = boundary.substr(0, boundary.find_first_of("; "));
  }
  const std::string delimiter = "--" + std::string(boundary);
  auto partStart = body.find(delimiter);
  if (partStart == std::string_view::npos) return std::string(body);
  auto headersEnd = body.find("\r\n\r\n", partStart);
  std::size_t contentStart = headersEnd == std::string_view::npos ? std::string_view::npos : headersEnd + 4;
  if (contentStart == std::string_view::npos) {
    headersEnd = body.find("\n\n", partStart);
    if (headersEnd == std::string_view::npos) return {};
    contentStart = headersEnd + 2;
  }
  auto partEnd = body.find(delimiter, contentStart);
  std::string_view part = body.substr(contentStart, partEnd == std::string_view::npos ? body.npos : partEnd - contentStart);
  while (!part.empty() && (part.back() == '\n' || part.back() == '\r')) part.remove_suffix(1);
  return std::string(part);
}

GusLookup lookUpNip(const GusSettings& settings, std::string_view nip) {
  GusLookup lookup;
  Session session(settings);
  if (!session.logIn(lookup)) return lookup;

  auto found = session.call("DaneSzukajPodmioty",
                            "<ns:DaneSzukajPodmioty><ns:pParametryWyszukiwania><dat:Nip>" + escaped(nip) +
                                "</dat:Nip></ns:pParametryWyszukiwania></ns:DaneSzukajPodmioty>",
                            lookup);
  if (!found) {
    if (answered(lookup)) session.logOut();
    return lookup;
  }
  GusSearchResult search = parseSearch(*found);
  const GusEntity* main = search.readable ? mainEntity(search.entities) : nullptr;
  if (!search.readable) {
    lookup.outcome = GusOutcome::Malformed;
  } else if (!main) {
    lookup.outcome = search.errorCode == 4 ? GusOutcome::NotFound : GusOutcome::Refused;
    lookup.detail = search.errorMessage;
  } else {
    lookup.entity = *main;
    lookup.outcome = GusOutcome::Found;
    if (std::string report = reportName(*main); !report.empty()) {
      GusLookup failure;
      auto text = session.call("DanePobierzPelnyRaport",
                               "<ns:DanePobierzPelnyRaport><ns:pRegon>" + escaped(main->regon) +
                                   "</ns:pRegon><ns:pNazwaRaportu>" + report +
                                   "</ns:pNazwaRaportu></ns:DanePobierzPelnyRaport>",
                               failure);
      // The contact data complete an answer the search already gave; without them the
      // lookup fails as a whole, so the form never gets half of a unit's data.
      if (!text) {
        lookup = failure;
      } else if (!addReport(*text, lookup.entity)) {
        lookup = GusLookup{GusOutcome::Malformed, {}, {}};
      }
    }
  }
  if (answered(lookup)) session.logOut();
  return lookup;
}

}  // namespace slownik::svc
