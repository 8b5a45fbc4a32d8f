// The score server's open connections: how many each client key holds, and the deadline by
// which each connection's request, or its answer, must have gone through. An attacker who
// trickles a request byte by byte never lets a connection go idle; the deadline closes it
// anyway, so a few addresses cannot hold the server's connections for long.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

#include "refusal_log.h"

struct sockaddr;

namespace trakvolt::server {

class ConnectionWatch {
 public:
  struct Limits {
    unsigned per_key = 0;  // open connections a client key may hold; 0 for no cap
    std::chrono::milliseconds deadline{10'000};
    // Behind a proxy on this machine: its connections carry many clients and are not capped
    // by key (the proxy caps its own clients).
    bool trust_proxy = false;
  };
  // Starts the thread that closes connections past their deadline.
  ConnectionWatch(Limits limits, RefusalLog* log);
  ~ConnectionWatch();
  ConnectionWatch(const ConnectionWatch&) = delete;
  ConnectionWatch& operator=(const ConnectionWatch&) = delete;

  // Whether a connection from `peer` may be accepted. A yes holds its key's place for the
  // Started call that follows on the same thread.
  bool Admit(const sockaddr* peer);
  // A connection accepted on socket `fd`; its first request must arrive within the deadline.
  std::uint64_t Started(int fd, const sockaddr* peer);
  // Called before the socket is closed, so that the watch never touches a socket number
  // that may already belong to another connection.
  void Closed(std::uint64_t id);
  // The connection has this long again from now: to send its answer, or for its next request.
  void StartDeadline(std::uint64_t id);
  // No deadline while the request is being answered.
  void StopDeadline(std::uint64_t id);

 private:
  using Clock = std::chrono::steady_clock;
  struct Connection {
    int fd = -1;
    std::string address;
    std::string key;  // empty when not counted
    Clock::time_point deadline;
    bool running = true;
    bool cut = false;
  };
  bool Counted(const std::string& address) const;
  void Release(const std::string& key);  // with mutex_ held
  void Watch();

  const Limits limits_;
  RefusalLog* const log_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::uint64_t next_id_ = 1;
  std::unordered_map<std::uint64_t, Connection> open_;
  std::unordered_map<std::string, unsigned> per_key_;
  // The key each accepting thread has admitted and not yet seen started.
  std::unordered_map<std::thread::id, std::string> admitted_;
  std::thread thread_;
};

}  // namespace trakvolt::server
