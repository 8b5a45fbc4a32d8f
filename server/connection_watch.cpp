// Connection counts per client key and request deadlines.
#include "connection_watch.h"

#include <sys/socket.h>

#include <utility>
#include <vector>

#include "client_key.h"

namespace trakvolt::server {
namespace {

constexpr std::chrono::milliseconds kTick{200};

}  // namespace

ConnectionWatch::ConnectionWatch(Limits limits, RefusalLog* log)
    : limits_(limits), log_(log), thread_([this] { Watch(); }) {}

ConnectionWatch::~ConnectionWatch() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

bool ConnectionWatch::Counted(const std::string& address) const {
  return limits_.per_key > 0 && !(limits_.trust_proxy && IsLocalProxy(address));
}

void ConnectionWatch::Release(const std::string& key) {
  const auto it = per_key_.find(key);
  if (it != per_key_.end() && --it->second == 0) per_key_.erase(it);
}

bool ConnectionWatch::Admit(const sockaddr* peer) {
  const std::string address = AddressText(peer);
  const std::string key = Counted(address) ? LimitKey(address) : std::string();
  {
    std::lock_guard lock(mutex_);
    // A place admitted before but never started (the library gave up on that connection).
    if (const auto stale = admitted_.find(std::this_thread::get_id()); stale != admitted_.end()) {
      Release(stale->second);
      admitted_.erase(stale);
    }
    if (key.empty()) return true;
    unsigned& held = per_key_[key];
    if (held < limits_.per_key) {
      ++held;
      admitted_.emplace(std::this_thread::get_id(), key);
      return true;
    }
  }
  if (log_) log_->Refused(address, "connections per address");
  return false;
}

std::uint64_t ConnectionWatch::Started(int fd, const sockaddr* peer) {
  Connection c;
  c.fd = fd;
  c.address = AddressText(peer);
  std::lock_guard lock(mutex_);
  if (const auto it = admitted_.find(std::this_thread::get_id()); it != admitted_.end()) {
    c.key = std::move(it->second);
    admitted_.erase(it);
  } else if (Counted(c.address)) {
    // Accepted without Admit on this thread: count it all the same.
    c.key = LimitKey(c.address);
    if (!c.key.empty()) ++per_key_[c.key];
  }
  c.deadline = Clock::now() + limits_.deadline;
  const std::uint64_t id = next_id_++;
  open_.emplace(id, std::move(c));
  return id;
}

void ConnectionWatch::Closed(std::uint64_t id) {
  std::lock_guard lock(mutex_);
  const auto it = open_.find(id);
  if (it == open_.end()) return;
  if (!it->second.key.empty()) Release(it->second.key);
  open_.erase(it);
}

void ConnectionWatch::StartDeadline(std::uint64_t id) {
  std::lock_guard lock(mutex_);
  if (const auto it = open_.find(id); it != open_.end()) {
    it->second.deadline = Clock::now() + limits_.deadline;
    it->second.running = true;
  }
}

void ConnectionWatch::StopDeadline(std::uint64_t id) {
  std::lock_guard lock(mutex_);
  if (const auto it = open_.find(id); it != open_.end()) it->second.running = false;
}

void ConnectionWatch::Watch() {
  std::vector<std::string> cut;
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    wake_.wait_for(lock, kTick);
    const auto now = Clock::now();
    for (auto& [id, c] : open_) {
      if (!c.running || c.cut || c.deadline > now) continue;
      // The library sees the connection end and closes it itself; Closed cannot run while
      // this holds the mutex, so the socket is still this connection's.
      ::shutdown(c.fd, SHUT_RDWR);
      c.cut = true;
      cut.push_back(c.address);
    }
    if (cut.empty() || log_ == nullptr) {
      cut.clear();
      continue;
    }
    lock.unlock();
    for (const std::string& address : cut) log_->Refused(address, "request deadline passed");
    cut.clear();
    lock.lock();
  }
}

}  // namespace trakvolt::server
