#pragma once
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace slownik::test {

//! A small HTTP/1.1 server on 127.0.0.1 that serves canned answers by path, for tests of
//! the network clients. Unknown paths answer 404. Records the paths it was asked for.
class HttpServer {
 public:
  HttpServer();
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  //! path includes the query: "/api/x/?format=json".
  void serve(const std::string& path, int status, std::string body);
  std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }
  std::vector<std::string> requests() const;

 private:
  void loop();
  void answer(int client);

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::map<std::string, std::pair<int, std::string>> routes_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace slownik::test
