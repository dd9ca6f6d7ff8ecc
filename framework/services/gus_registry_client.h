#pragma once
#include <string>
#include <string_view>

#include "framework/services/gus_registry_fields.h"

namespace slownik::svc {

//! Where the register's search service is and who asks it.
struct GusSettings {
  std::string address;     //!< the service's address (https://…/UslugaBIRzewnPubl.svc)
  std::string key;         //!< the user key the statistics office issued
  long timeoutSeconds = 30;  //!< for each exchange with the service
};

//! How a lookup ended.
enum class GusOutcome {
  Found,
  NotFound,
  NoConnection,  //!< no answer: no network, the address does not answer
  TimedOut,
  Malformed,     //!< an answer that is not the service's SOAP
  Refused,       //!< the service refused the key or reported a fault
};

struct GusLookup {
  GusOutcome outcome = GusOutcome::NoConnection;
  GusEntity entity;    //!< when Found: the main entity with its contact data
  std::string detail;  //!< the transport's or the service's own words, for the message
};

//! Looks the tax number up in the register: logs in with the key, searches by the
//! number, reads the main entity's full report for its contact data and logs out.
//! Blocks the calling thread for up to a few timeouts; never throws. `nip` is ten digits.
GusLookup lookUpNip(const GusSettings& settings, std::string_view nip);

//! The SOAP envelope inside an answer that may come as one MIME part of a
//! multipart/related message (the service answers in MTOM); the text itself otherwise.
std::string soapEnvelope(std::string_view body, std::string_view contentType);

}  // namespace slownik::svc
