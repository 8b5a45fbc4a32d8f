// A TCP connection to a test server on the loopback that sends only what it is told, from a
// chosen local address (all of 127.0.0.0/8 is this machine), so that one test can play many
// clients.
#pragma once

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

namespace trakvolt::server::testing {

class RawConnection {
 public:
  // To `target` (127.0.0.1 or ::1) from `source` when given.
  explicit RawConnection(std::uint16_t port, const std::string& source = "",
                         const std::string& target = "127.0.0.1") {
    sockaddr_storage to{};
    socklen_t length = 0;
    if (target.find(':') != std::string::npos) {
      auto& v6 = reinterpret_cast<sockaddr_in6&>(to);
      v6.sin6_family = AF_INET6;
      v6.sin6_port = htons(port);
      inet_pton(AF_INET6, target.c_str(), &v6.sin6_addr);
      length = sizeof v6;
    } else {
      auto& v4 = reinterpret_cast<sockaddr_in&>(to);
      v4.sin_family = AF_INET;
      v4.sin_port = htons(port);
      inet_pton(AF_INET, target.c_str(), &v4.sin_addr);
      length = sizeof v4;
    }
    fd_ = ::socket(to.ss_family, SOCK_STREAM, 0);
    if (!source.empty()) {
      sockaddr_in from{};
      from.sin_family = AF_INET;
      inet_pton(AF_INET, source.c_str(), &from.sin_addr);
      if (::bind(fd_, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0) return;
    }
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&to), length) == 0;
  }
  ~RawConnection() { ::close(fd_); }
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  bool Connected() const { return connected_; }
  void Send(const std::string& text) {
    EXPECT_EQ(::send(fd_, text.data(), text.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(text.size()));
  }
  // False when the server no longer takes it.
  bool TrySend(const std::string& text) {
    return ::send(fd_, text.data(), text.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(text.size());
  }
  // Whether the server has closed the connection (what it sent before is dropped).
  bool ClosedByServer() {
    char buf[4096];
    for (;;) {
      const ssize_t n = ::recv(fd_, buf, sizeof buf, MSG_DONTWAIT);
      if (n > 0) continue;
      return n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
    }
  }
  // Everything the server sends until it closes, waiting at most `ms` for each part; `closed`
  // tells whether it did close.
  std::string ReadUntilClosed(int ms, bool& closed) {
    std::string got;
    closed = false;
    pollfd p{fd_, POLLIN, 0};
    while (::poll(&p, 1, ms) > 0) {
      char buf[4096];
      const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
      if (n <= 0) {
        closed = true;
        break;
      }
      got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
  }

 private:
  int fd_ = -1;
  bool connected_ = false;
};

// The status of a raw answer, 0 when there is none.
inline int StatusOf(const std::string& answer) {
  return answer.starts_with("HTTP/1.") && answer.size() > 12 ? std::stoi(answer.substr(9, 3)) : 0;
}

// The whole answer to `request`, sent on a fresh connection that the request should close.
inline std::string Exchange(std::uint16_t port, const std::string& request,
                            const std::string& source = "") {
  RawConnection c(port, source);
  if (!c.Connected()) return {};
  c.Send(request);
  bool closed = false;
  return c.ReadUntilClosed(5000, closed);
}

}  // namespace trakvolt::server::testing
