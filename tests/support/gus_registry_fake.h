#pragma once
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "support/http_server.h"

namespace slownik::test {

//! The statistics office's register search service as tests need it: a SOAP 1.2
//! service on the local HTTP server that logs in with a key, searches by tax number,
//! gives full reports and logs out, answering in the service's MTOM envelopes.
class FakeGusRegistry {
 public:
  static constexpr const char* kKey = "abcde12345abcde12345";

  struct Unit {
    std::string regon, nip, name, province, county, town, postcode, street, house, flat;
    std::string type = "P";  //!< P, F, LP, LF
    int silo = 6;
    std::string email, phone, country = "PL";
  };
  enum class Broken { Nothing, Envelope, SearchData };

  FakeGusRegistry();

  std::string address() const { return server_.baseUrl() + "/wsBIR/UslugaBIRzewnPubl.svc"; }
  void add(Unit unit);
  //! Each answer waits this long first.
  void setDelay(std::chrono::milliseconds delay);
  void setBroken(Broken broken);
  //! Called on the server's thread before each answer (to see what the client shows meanwhile).
  void onRequest(std::function<void()> hook);
  //! The operations asked for, in order ("Zaloguj", "DaneSzukajPodmioty", …).
  std::vector<std::string> operations() const;

 private:
  HttpServer::Reply answer(const HttpServer::Request& request);
  std::string search(const std::string& nip) const;
  std::string report(const std::string& regon, const std::string& name) const;

  mutable std::mutex mutex_;
  std::vector<Unit> units_;
  std::chrono::milliseconds delay_{0};
  Broken broken_ = Broken::Nothing;
  std::function<void()> hook_;
  std::vector<std::string> operations_;
  HttpServer server_;  // last: it stops before what its handler uses goes
};

}  // namespace slownik::test
