#pragma once
// A TCP proxy between the program and the PostgreSQL server that plays a remote link: it
// holds every chunk for half the round-trip delay in each direction, and counts round
// trips as the server sees them — a turn is a burst from the client answered by the
// server, and every new connection adds the TCP handshake as one more. Pipelined
// statements sent in one burst count once, as they cost once on a real link.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <utility>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace slownik::bench {

class LatencyProxy {
 public:
  //! Listens on a free local port and forwards to host:port.
  LatencyProxy(std::string host, int port) : host_(std::move(host)), port_(port) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(listener_, 64);
    socklen_t len = sizeof a;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
    listenPort_ = ntohs(a.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
  }
  ~LatencyProxy() {
    stop_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    ::close(listener_);
    acceptor_.join();
    std::lock_guard lock(mutex_);
    for (auto& t : pipes_) t.join();
  }
  LatencyProxy(const LatencyProxy&) = delete;
  LatencyProxy& operator=(const LatencyProxy&) = delete;

  int port() const { return listenPort_; }
  //! The round-trip delay of the link played from now on.
  void setDelay(std::chrono::milliseconds roundTrip) { halfDelayUs_ = roundTrip.count() * 500; }
  long long roundTrips() const { return roundTrips_.load(); }
  //! What each turn since the last call carried: the statement texts of the client's burst.
  std::vector<std::string> takeTurns() {
    std::lock_guard lock(mutex_);
    return std::exchange(turns_, {});
  }
  long long connections() const { return connections_.load(); }

 private:
  void acceptLoop() {
    while (!stop_) {
      int client = ::accept(listener_, nullptr, nullptr);
      if (client < 0) return;
      int server = ::socket(AF_INET, SOCK_STREAM, 0);
      sockaddr_in a{};
      a.sin_family = AF_INET;
      a.sin_port = htons(static_cast<uint16_t>(port_));
      ::inet_pton(AF_INET, host_.c_str(), &a.sin_addr);
      // The handshake of a new connection is a round trip on the link as well.
      sleepHalf();
      sleepHalf();
      if (::connect(server, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(client);
        ::close(server);
        continue;
      }
      int yes = 1;
      ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
      ::setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
      ++connections_;
      ++roundTrips_;
      std::lock_guard lock(mutex_);
      pipes_.emplace_back([this, client, server] { pipe(client, server); });
    }
  }

  void sleepHalf() const {
    long long us = halfDelayUs_.load();
    if (us > 0) std::this_thread::sleep_for(std::chrono::microseconds(us));
  }

  // One connection, both directions on one thread: a burst is read whole, held for the
  // one-way delay and passed on. Turns are counted when the client speaks after the
  // server did (or first).
  void pipe(int client, int server) {
    bool serverSpokeLast = true;
    std::vector<char> buffer(1 << 16);
    pollfd fds[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    while (true) {
      if (::poll(fds, 2, 200) < 0) break;
      if (stop_ && !(fds[0].revents | fds[1].revents)) break;
      bool closed = false;
      for (int side = 0; side < 2 && !closed; ++side) {
        if (!(fds[side].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        ssize_t n = ::read(fds[side].fd, buffer.data(), buffer.size());
        if (n <= 0) {
          closed = true;
          break;
        }
        // The delay falls on the first chunk of each direction's turn: the rest of a
        // long answer follows it down the same pipe.
        if (side == 0 && serverSpokeLast) {
          ++roundTrips_;
          noteTurn(buffer.data(), static_cast<std::size_t>(n));
          sleepHalf();
        } else if (side == 1 && !serverSpokeLast) {
          sleepHalf();
        }
        serverSpokeLast = side == 1;
        if (!writeAll(fds[1 - side].fd, buffer.data(), static_cast<std::size_t>(n))) closed = true;
      }
      if (closed) break;
    }
    ::close(client);
    ::close(server);
  }

  // The statements of a client burst: Query ('Q') and Parse ('P') messages carry them; a
  // burst without either is an execution of a statement prepared before.
  void noteTurn(const char* data, std::size_t size) {
    std::string texts;
    std::size_t at = 0;
    while (at + 5 <= size) {
      char type = data[at];
      uint32_t length = (static_cast<uint32_t>(static_cast<unsigned char>(data[at + 1])) << 24) |
                        (static_cast<uint32_t>(static_cast<unsigned char>(data[at + 2])) << 16) |
                        (static_cast<uint32_t>(static_cast<unsigned char>(data[at + 3])) << 8) |
                        static_cast<uint32_t>(static_cast<unsigned char>(data[at + 4]));
      if (length < 4 || at + 1 + length > size) break;
      const char* body = data + at + 5;
      std::size_t bodySize = length - 4;
      if (type == 'Q') texts += std::string(body, strnlen(body, bodySize)) + " | ";
      if (type == 'P') {
        std::size_t name = strnlen(body, bodySize);
        if (name + 1 < bodySize) texts += std::string(body + name + 1, strnlen(body + name + 1, bodySize - name - 1)) + " | ";
      }
      if (type == 'B' && texts.empty()) {
        std::size_t portal = strnlen(body, bodySize);
        if (portal + 1 < bodySize) texts += "(przygotowane " + std::string(body + portal + 1) + ") | ";
      }
      at += 1 + length;
    }
    if (texts.empty()) texts = "(połączenie)";
    std::lock_guard lock(mutex_);
    turns_.push_back(texts.substr(0, 300));
  }

  static bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
      ssize_t n = ::write(fd, data, size);
      if (n <= 0) return false;
      data += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }

  std::string host_;
  int port_;
  int listener_ = -1;
  int listenPort_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<long long> halfDelayUs_{0};
  std::atomic<long long> roundTrips_{0};
  std::atomic<long long> connections_{0};
  std::thread acceptor_;
  std::mutex mutex_;
  std::vector<std::thread> pipes_;
  std::vector<std::string> turns_;
};

}  // namespace slownik::bench
