#pragma once
#include <string>
#include <vector>

namespace slownik::svc {

struct HttpResponse {
  long status = 0;    //!< HTTP status; 0 when no answer came
  std::string body;
  std::string contentType;  //!< the answer's Content-Type, "" when it named none
  std::string error;  //!< transport error (no network, timeout), "" when an answer came
  bool timedOut = false;  //!< the error is that the time ran out
};

//! GET over HTTP(S) with a timeout. Never throws; a missing network is an error text.
HttpResponse httpGet(const std::string& url, long timeoutSeconds = 20);

//! POST of `body` with the given header lines ("Content-Type: …", "sid: …") and a
//! timeout for the whole exchange. Never throws; failures as for httpGet.
HttpResponse httpPost(const std::string& url, const std::string& body, const std::vector<std::string>& headers,
                      long timeoutSeconds = 20);

}  // namespace slownik::svc
