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

void HttpServer::handle(const std::string& path, Handler handler) {
  std::lock_guard lock(mutex_);
  handlers_[path] = std::move(handler);
}

void HttpServer::handlePrefix(const std::string& prefix, Handler handler) {
  std::lock_guard lock(mutex_);
  prefixHandlers_[prefix] = std::move(handler);
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
  std::string method;
  if (auto sp = request.find(' '); sp != std::string::npos) {
    method = request.substr(0, sp);
    auto end = request.find(' ', sp + 1);
    path = request.substr(sp + 1, end - sp - 1);
  }
  // A posted body follows the header; read all that Content-Length announces.
  const auto headerEnd = request.find("\r\n\r\n");
  std::string headers = headerEnd == std::string::npos ? request : request.substr(0, headerEnd);
  std::size_t length = 0;
  for (const char* name : {"Content-Length:", "content-length:"}) {
    if (auto at = headers.find(name); at != std::string::npos) length = std::stoul(headers.substr(at + 15));
  }
  std::string body = headerEnd == std::string::npos ? std::string() : request.substr(headerEnd + 4);
  while (body.size() < length) {
    ssize_t n = recv(client, buf, sizeof buf, 0);
    if (n <= 0) break;
    body.append(buf, static_cast<std::size_t>(n));
  }
  int status = 404;
  std::string answerBody = "Not Found";
  std::string contentType;
  Handler handler;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(path);
    if (auto it = routes_.find(path); it != routes_.end()) std::tie(status, answerBody) = it->second;
    if (auto it = handlers_.find(path); it != handlers_.end()) handler = it->second;
    if (!handler && routes_.find(path) == routes_.end()) {
      std::size_t longest = 0;
      for (const auto& [prefix, h] : prefixHandlers_) {
        if (path.compare(0, prefix.size(), prefix) == 0 && prefix.size() >= longest) {
          longest = prefix.size();
          handler = h;
        }
      }
    }
  }
  if (handler) {
    Reply reply = handler(Request{method, path, headers, body});
    status = reply.status;
    answerBody = std::move(reply.body);
    contentType = std::move(reply.contentType);
  }
  std::string head = "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Error") +
                     "\r\nContent-Length: " + std::to_string(answerBody.size()) + "\r\n";
  if (!contentType.empty()) head += "Content-Type: " + contentType + "\r\n";
  head += "Connection: close\r\n\r\n";
  std::string all = head + answerBody;
  std::size_t sent = 0;
  while (sent < all.size()) {
    ssize_t n = send(client, all.data() + sent, all.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  close(client);
}

std::string deadHttpAddress() {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
  close(s);
  return "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
}

}  // namespace slownik::test
