#pragma once
#include <string>

namespace slownik::svc {

struct HttpResponse {
  long status = 0;    //!< HTTP status; 0 when no answer came
  std::string body;
  std::string error;  //!< transport error (no network, timeout), "" when an answer came
};

//! GET over HTTP(S) with a timeout. Never throws; a missing network is an error text.
HttpResponse httpGet(const std::string& url, long timeoutSeconds = 20);

}  // namespace slownik::svc
