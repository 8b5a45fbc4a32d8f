// A tiny HTTP server on the loopback interface for tests: it records each request's line and
// headers and answers by a rule the test sets (a body, an error status, silence, a cut-off).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace trakvolt::testing_support {

class LoopbackServer {
 public:
  struct Request {
    std::string target;  // path and query of the request line
    std::string head;    // the request line and headers as received
    // The value of a header (case as sent), or empty.
    std::string Header(const std::string& name) const {
      const std::string key = "\r\n" + name + ": ";
      const auto at = head.find(key);
      if (at == std::string::npos) return {};
      const auto start = at + key.size();
      return head.substr(start, head.find("\r\n", start) - start);
    }
  };
  enum class Mode { Answer, Silent, CutOff };
  struct Reply {
    Mode mode = Mode::Answer;
    int status = 200;
    std::string body;
    std::string extra_headers;  // each ending in CR LF
  };
  using Rule = std::function<Reply(const Request&)>;

  explicit LoopbackServer(Rule rule) : rule_(std::move(rule)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(listener_, 8);
    socklen_t len = sizeof addr;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LoopbackServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
  }
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // "127.0.0.1:PORT"
  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string Url(const std::string& path) const { return "http://" + Address() + path; }
  std::vector<Request> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  // Waits for `fd` to be readable, at most a short while, so that stopping is always prompt.
  bool Readable(int fd, int ms) const {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0;
  }
  void Serve() {
    while (!stop_) {
      if (!Readable(listener_, 50)) continue;
      const int fd = ::accept(listener_, nullptr, nullptr);
      if (fd < 0) continue;
      Handle(fd);
      ::close(fd);
    }
  }
  void Handle(int fd) {
    std::string head;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536 &&
           std::chrono::steady_clock::now() < deadline && !stop_) {
      if (!Readable(fd, 50)) continue;
      char buf[4096];
      const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
      if (n <= 0) return;
      head.append(buf, static_cast<std::size_t>(n));
    }
    Request r;
    r.head = head.substr(0, head.find("\r\n\r\n") + 2);
    const auto sp1 = head.find(' '), sp2 = head.find(' ', sp1 + 1);
    if (sp1 != std::string::npos && sp2 != std::string::npos)
      r.target = head.substr(sp1 + 1, sp2 - sp1 - 1);
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(r);
    }
    const Reply reply = rule_(r);
    if (reply.mode == Mode::Silent) {
      // Holds the connection open without a word until the client gives up or the test ends.
      while (!stop_) {
        if (!Readable(fd, 50)) continue;
        char buf[256];
        if (::recv(fd, buf, sizeof buf, 0) <= 0) return;
      }
      return;
    }
    std::string out = "HTTP/1.1 " + std::to_string(reply.status) + " X\r\nConnection: close\r\n" +
                      reply.extra_headers + "Content-Length: " +
                      std::to_string(reply.body.size() + (reply.mode == Mode::CutOff ? 100 : 0)) +
                      "\r\n\r\n" + reply.body;
    for (std::size_t sent = 0; sent < out.size();) {
      const ssize_t n = ::send(fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return;
      sent += static_cast<std::size_t>(n);
    }
  }

  Rule rule_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<Request> requests_;
  std::thread thread_;
};

}  // namespace trakvolt::testing_support
