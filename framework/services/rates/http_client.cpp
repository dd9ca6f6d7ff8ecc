#include "framework/services/rates/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <mutex>

namespace slownik::svc {
namespace {

std::size_t append(char* data, std::size_t size, std::size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

void initCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

namespace {

// Runs a prepared handle with the settings every request shares; frees the handle.
HttpResponse perform(CURL* curl, const std::string& url, long timeoutSeconds) {
  HttpResponse response;
  char errorBuffer[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response.body);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, std::min(timeoutSeconds, 10L));
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // safe on procedure threads
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "SLOWNIK/1.0");
  curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
  CURLcode rc = curl_easy_perform(curl);
  if (rc != CURLE_OK) {
    response.error = errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc);
    response.timedOut = rc == CURLE_OPERATION_TIMEDOUT;
    response.body.clear();
  } else {
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &response.status);
    char* type = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type) response.contentType = type;
  }
  curl_easy_cleanup(curl);
  return response;
}

HttpResponse noHandle() {
  HttpResponse response;
  response.error = "Nie można przygotować połączenia sieciowego";
  return response;
}

}  // namespace

HttpResponse httpGet(const std::string& url, long timeoutSeconds) {
  initCurlOnce();
  CURL* curl = curl_easy_init();
  if (!curl) return noHandle();
  return perform(curl, url, timeoutSeconds);
}

HttpResponse httpPost(const std::string& url, const std::string& body, const std::vector<std::string>& headers,
                      long timeoutSeconds) {
  initCurlOnce();
  CURL* curl = curl_easy_init();
  if (!curl) return noHandle();
  // No "Expect: 100-continue" round trip: the services answer the whole post at once.
  curl_slist* list = curl_slist_append(nullptr, "Expect:");
  for (const auto& h : headers) list = curl_slist_append(list, h.c_str());
  curl_easy_setopt(curl, CURLOPT_POST, 1L);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
  HttpResponse response = perform(curl, url, timeoutSeconds);
  curl_slist_free_all(list);
  return response;
}

}  // namespace slownik::svc
