#include "support/http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace slownik::test {

HttpServer::HttpServer() {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  int yes = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  listen(listener_, 16);
  thread_ = std::thread([this] { loop(); });
}

HttpServer::~HttpServer() {
  stopping_ = true;
  thread_.join();
  close(listener_);
}

void HttpServer::serve(const std::string& path, int status, std::string body) {
  std::lock_guard lock(mutex_);
  routes_[path] = {status, std::move(body)};
}

std::vector<std::string> HttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void HttpServer::loop() {
  while (!stopping_) {
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    int client = accept(listener_, nullptr, nullptr);
    if (client >= 0) answer(client);
  }
}

void HttpServer::answer(int client) {
  std::string request;
  char buf[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    ssize_t n = recv(client, buf, sizeof buf, 0);
    if (n <= 0) break;
    request.append(buf, static_cast<std::size_t>(n));
  }
  std::string path;
  if (auto sp = request.find(' '); sp != std::string::npos) {
    auto end = request.find(' ', sp + 1);
    path = request.substr(sp + 1, end - sp - 1);
  }
  int status = 404;
  std::string body = "Not Found";
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(path);
    if (auto it = routes_.find(path); it != routes_.end()) std::tie(status, body) = it->second;
  }
  std::string head = "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Error") +
                     "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  std::string all = head + body;
  std::size_t sent = 0;
  while (sent < all.size()) {
    ssize_t n = send(client, all.data() + sent, all.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  close(client);
}

}  // namespace slownik::test
