#include "support/gus_registry_fake.h"

#include <thread>

namespace slownik::test {
namespace {

constexpr const char* kSid = "s3ss10n1d0000000abcd";
constexpr const char* kBoundary = "uuid:5ad2c1f3-7b1e-4c55-9d0c-2f3c5c8e9a10+id=1";

std::string between(const std::string& text, const std::string& open, const std::string& close) {
  auto at = text.find(open);
  if (at == std::string::npos) return {};
  at += open.size();
  auto end = text.find(close, at);
  return end == std::string::npos ? std::string() : text.substr(at, end - at);
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
  return out;
}

std::string element(const std::string& name, const std::string& value) {
  return value.empty() ? "<" + name + " />" : "<" + name + ">" + escaped(value) + "</" + name + ">";
}

std::string envelope(const std::string& operation, const std::string& result) {
  return "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\" "
         "xmlns:a=\"http://www.w3.org/2005/08/addressing\"><s:Header><a:Action s:mustUnderstand=\"1\">"
         "http://CIS/BIR/PUBL/2014/07/IUslugaBIRzewnPubl/" + operation + "Response</a:Action></s:Header><s:Body><" +
         operation + "Response xmlns=\"http://CIS/BIR/PUBL/2014/07\">" + element(operation + "Result", result) + "</" +
         operation + "Response></s:Body></s:Envelope>";
}

HttpServer::Reply mtom(const std::string& soap) {
  HttpServer::Reply reply;
  reply.contentType = std::string("multipart/related; type=\"application/xop+xml\"; start=\"<http://tempuri.org/0>\"; "
                                  "boundary=\"") + kBoundary + "\"; start-info=\"application/soap+xml\"";
  reply.body = std::string("\r\n--") + kBoundary +
               "\r\nContent-ID: <http://tempuri.org/0>\r\nContent-Transfer-Encoding: 8bit\r\n"
               "Content-Type: application/xop+xml;charset=utf-8;type=\"application/soap+xml\"\r\n\r\n" +
               soap + "\r\n--" + kBoundary + "--\r\n";
  return reply;
}

}  // namespace

FakeGusRegistry::FakeGusRegistry() {
  server_.handle("/wsBIR/UslugaBIRzewnPubl.svc", [this](const HttpServer::Request& r) { return answer(r); });
}

void FakeGusRegistry::add(Unit unit) {
  std::lock_guard lock(mutex_);
  units_.push_back(std::move(unit));
}

void FakeGusRegistry::setDelay(std::chrono::milliseconds delay) {
  std::lock_guard lock(mutex_);
  delay_ = delay;
}

void FakeGusRegistry::setBroken(Broken broken) {
  std::lock_guard lock(mutex_);
  broken_ = broken;
}

void FakeGusRegistry::onRequest(std::function<void()> hook) {
  std::lock_guard lock(mutex_);
  hook_ = std::move(hook);
}

std::vector<std::string> FakeGusRegistry::operations() const {
  std::lock_guard lock(mutex_);
  return operations_;
}

HttpServer::Reply FakeGusRegistry::answer(const HttpServer::Request& request) {
  std::string action = between(request.body, "<wsa:Action>", "</wsa:Action>");
  std::string operation = action.substr(action.rfind('/') + 1);
  std::function<void()> hook;
  std::chrono::milliseconds delay;
  Broken broken;
  {
    std::lock_guard lock(mutex_);
    operations_.push_back(operation);
    hook = hook_;
    delay = delay_;
    broken = broken_;
  }
  if (hook) hook();
  if (delay.count() > 0) std::this_thread::sleep_for(delay);
  if (request.method != "POST" || request.headers.find("application/soap+xml") == std::string::npos)
    return {415, "Unsupported Media Type", "text/plain"};

  const bool loggedIn = request.headers.find(std::string("sid: ") + kSid) != std::string::npos;
  std::string result;
  if (operation == "Zaloguj") {
    result = between(request.body, "<ns:pKluczUzytkownika>", "</ns:pKluczUzytkownika>") == kKey ? kSid : "";
  } else if (!loggedIn) {
    result = "";  // the service answers a call without a session with nothing
  } else if (operation == "DaneSzukajPodmioty") {
    if (broken == Broken::Envelope) return mtom("<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\"><s:Bo");
    result = broken == Broken::SearchData ? "<root><dane><Regon>0123" : search(between(request.body, "<dat:Nip>", "</dat:Nip>"));
  } else if (operation == "DanePobierzPelnyRaport") {
    result = report(between(request.body, "<ns:pRegon>", "</ns:pRegon>"),
                    between(request.body, "<ns:pNazwaRaportu>", "</ns:pNazwaRaportu>"));
  } else if (operation == "Wyloguj") {
    result = "true";
  } else {
    return {500, "", "text/plain"};
  }
  return mtom(envelope(operation, result));
}

std::string FakeGusRegistry::search(const std::string& nip) const {
  std::lock_guard lock(mutex_);
  std::string data = "<root>";
  bool any = false;
  for (const auto& u : units_) {
    if (u.nip != nip) continue;
    any = true;
    data += "<dane>" + element("Regon", u.regon) + element("Nip", u.nip) + element("StatusNip", "") +
            element("Nazwa", u.name) + element("Wojewodztwo", u.province) + element("Powiat", u.county) +
            element("Gmina", u.county) + element("Miejscowosc", u.town) + element("KodPocztowy", u.postcode) +
            element("Ulica", u.street) + element("NrNieruchomosci", u.house) + element("NrLokalu", u.flat) +
            element("Typ", u.type) + element("SilosID", std::to_string(u.silo)) +
            element("DataZakonczeniaDzialalnosci", "") + element("MiejscowoscPoczty", u.town) + "</dane>";
  }
  if (!any)
    data += "<dane><ErrorCode>4</ErrorCode><ErrorMessagePl>Nie znaleziono podmiotu dla podanych kryteriów "
            "wyszukiwania.</ErrorMessagePl><ErrorMessageEn>No data found for the specified search "
            "criteria.</ErrorMessageEn><Nip>" + nip + "</Nip></dane>";
  return data + "</root>";
}

std::string FakeGusRegistry::report(const std::string& regon, const std::string& name) const {
  std::lock_guard lock(mutex_);
  std::string prefix = name == "BIR11OsPrawna" ? "praw_"
                       : name.rfind("BIR11OsFizyczna", 0) == 0 ? "fiz_"
                       : name == "BIR11JednLokalnaOsPrawnej" ? "lokpraw_"
                                                             : "lokfiz_";
  for (const auto& u : units_) {
    if (u.regon != regon) continue;
    return "<root><dane>" + element(prefix + "regon9", u.regon) + element(prefix + "nazwa", u.name) +
           element(prefix + "numerTelefonu", u.phone) + element(prefix + "adresEmail", u.email) +
           element(prefix + "adSiedzKraj_Symbol", u.country) + "</dane></root>";
  }
  return "<root><dane><ErrorCode>4</ErrorCode><ErrorMessagePl>Nie znaleziono podmiotu.</ErrorMessagePl></dane></root>";
}

}  // namespace slownik::test
