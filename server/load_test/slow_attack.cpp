// One thread drives every slow connection through poll().
#include "slow_attack.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

namespace trakvolt::load {
namespace {

using Clock = std::chrono::steady_clock;

// Sent at once when connected: the server sees a request begin.
constexpr std::string_view kRequestStart = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n";
// Then trickled byte by byte, over and over: header lines that never end the request.
constexpr std::string_view kTrickle = "X-Wait: a\r\n";
// A connection the server ended is made again after this, so a server that refuses at once
// does not make the attack spin.
constexpr auto kReconnectDelay = std::chrono::milliseconds(100);

struct SlowConnection {
  int fd = -1;
  int address = 0;  // last byte of 127.0.0.N
  bool started = false;
  bool answered = false;
  std::size_t trickled = 0;
  Clock::time_point next_send;
  Clock::time_point reopen_at;
};

int OpenFrom(int address, int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl((127u << 24) | static_cast<unsigned>(address));
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(static_cast<std::uint16_t>(port));
  server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
      (connect(fd, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0 &&
       errno != EINPROGRESS)) {
    close(fd);
    return -1;
  }
  return fd;
}

// Sends what is due; false when the connection is gone. Before the connection is made the
// send fails with EAGAIN and is tried again at the next turn.
bool SendDue(SlowConnection& c, Clock::time_point now, std::chrono::milliseconds interval,
             long& bytes) {
  if (now < c.next_send) return true;
  const std::string_view data =
      c.started ? kTrickle.substr(c.trickled % kTrickle.size(), 1) : kRequestStart;
  const ssize_t n = send(c.fd, data.data(), data.size(), MSG_NOSIGNAL);
  if (n < 0) {
    if (errno == EAGAIN || errno == ENOTCONN) {
      c.next_send = now + std::chrono::milliseconds(20);
      return true;
    }
    return false;
  }
  bytes += n;
  // A partial start goes on with the trickle: the server still has an unfinished request.
  if (c.started) ++c.trickled;
  c.started = true;
  c.next_send = now + interval;
  return true;
}

}  // namespace

SlowAttack::SlowAttack(int port, int first_address, int addresses, int per_address,
                       std::chrono::milliseconds interval)
    : port_(port),
      first_address_(first_address),
      addresses_(addresses),
      per_address_(per_address),
      interval_(interval),
      thread_([this] { Run(); }) {}

SlowAttackCounts SlowAttack::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  return counts_;
}

void SlowAttack::Run() {
  std::vector<SlowConnection> conns(static_cast<std::size_t>(addresses_ * per_address_));
  const auto start = Clock::now();
  for (std::size_t i = 0; i < conns.size(); ++i) {
    conns[i].address = first_address_ + static_cast<int>(i) / per_address_;
    // Spread the first connections over one interval, so the bytes do not all come at once.
    conns[i].reopen_at = start + interval_ * static_cast<long>(i) / static_cast<long>(conns.size());
  }
  const auto end_connection = [&](SlowConnection& c) {
    close(c.fd);
    ++counts_.closed_by_server;
    if (c.answered) ++counts_.closed_with_answer;
    c = SlowConnection{-1, c.address, false, false, 0, {}, Clock::now() + kReconnectDelay};
  };
  std::vector<pollfd> fds;
  std::vector<std::size_t> owner;
  char buf[4096];
  while (!stop_) {
    const auto now = Clock::now();
    for (auto& c : conns) {
      if (c.fd < 0 && now >= c.reopen_at) {
        c.fd = OpenFrom(c.address, port_);
        if (c.fd < 0) {
          c.reopen_at = now + kReconnectDelay;
          continue;
        }
        ++counts_.opened;
        c.next_send = now;
      }
      if (c.fd >= 0 && !SendDue(c, now, interval_, counts_.bytes_sent)) end_connection(c);
    }
    fds.clear();
    owner.clear();
    for (std::size_t i = 0; i < conns.size(); ++i) {
      if (conns[i].fd < 0) continue;
      fds.push_back({conns[i].fd, POLLIN, 0});
      owner.push_back(i);
    }
    poll(fds.data(), fds.size(), 20);
    for (std::size_t k = 0; k < fds.size(); ++k) {
      if (fds[k].revents == 0) continue;
      SlowConnection& c = conns[owner[k]];
      const ssize_t n = recv(c.fd, buf, sizeof buf, 0);
      if (n > 0) {
        c.answered = true;
      } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        end_connection(c);
      }
    }
  }
  for (auto& c : conns)
    if (c.fd >= 0) {
      close(c.fd);
      ++counts_.open_at_end;
    }
}

}  // namespace trakvolt::load
