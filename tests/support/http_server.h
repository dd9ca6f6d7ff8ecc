#pragma once
#include <atomic>
#include <functional>
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
  struct Request {
    std::string method;
    std::string path;
    std::string headers;  //!< the header lines as sent
    std::string body;
  };
  struct Reply {
    int status = 200;
    std::string body;
    std::string contentType;  //!< "" = no Content-Type header
  };
  using Handler = std::function<Reply(const Request&)>;

  HttpServer();
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  //! path includes the query: "/api/x/?format=json".
  void serve(const std::string& path, int status, std::string body);
  //! Answers every request to `path` by calling `handler` on the server's thread (a
  //! service that answers by what is posted, such as SOAP); a handler that sleeps makes
  //! a slow server.
  void handle(const std::string& path, Handler handler);
  //! Answers every request whose path starts with `prefix` and that has no route or
  //! handler of its own (a service whose paths carry dates); the longest prefix wins.
  void handlePrefix(const std::string& prefix, Handler handler);
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
  std::map<std::string, Handler> handlers_;
  std::map<std::string, Handler> prefixHandlers_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

//! The base address ("http://127.0.0.1:port") of a port on which nothing listens: one
//! taken and given back, for the clients' "no network" cases.
std::string deadHttpAddress();

}  // namespace slownik::test
