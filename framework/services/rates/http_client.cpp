#include "framework/services/rates/http_client.h"

#include <curl/curl.h>

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

HttpResponse httpGet(const std::string& url, long timeoutSeconds) {
  initCurlOnce();
  HttpResponse response;
  CURL* curl = curl_easy_init();
  if (!curl) {
    response.error = "Nie można przygotować połączenia sieciowego";
    return response;
  }
  char errorBuffer[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response.body);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 10L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // safe on procedure threads
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "SLOWNIK/1.0");
  curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
  CURLcode rc = curl_easy_perform(curl);
  if (rc != CURLE_OK) {
    response.error = errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc);
    response.body.clear();
  } else {
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &response.status);
  }
  curl_easy_cleanup(curl);
  return response;
}

}  // namespace slownik::svc
