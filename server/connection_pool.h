// A few open database connections handed to one caller at a time, so that a slow query holds
// only its own connection and never a lock the others need.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace trakvolt::server {

template <class Connection>
class ConnectionPool {
 public:
  using Open = std::function<std::unique_ptr<Connection>()>;

  // Opens `size` connections now, so that a database that cannot be reached fails at start.
  // With `extra_when_busy`, a caller finding them all busy gets a connection of its own (closed
  // after use) rather than waiting: for connections that are cheap to open.
  ConnectionPool(std::size_t size, Open open, bool extra_when_busy)
      : open_(std::move(open)), size_(size < 1 ? 1 : size), extra_when_busy_(extra_when_busy) {
    for (std::size_t i = 0; i < size_; ++i) free_.push_back(open_());
  }
  ConnectionPool(const ConnectionPool&) = delete;
  ConnectionPool& operator=(const ConnectionPool&) = delete;

  // One connection for the caller, returned to the pool when the lease ends.
  class Lease {
   public:
    Lease(ConnectionPool& pool, std::unique_ptr<Connection> c) : pool_(&pool), c_(std::move(c)) {}
    Lease(Lease&& o) noexcept = default;
    Lease& operator=(Lease&&) = delete;
    ~Lease() {
      if (c_) pool_->Return(std::move(c_));
    }
    Connection& operator*() const { return *c_; }
    Connection* operator->() const { return c_.get(); }

   private:
    ConnectionPool* pool_;
    std::unique_ptr<Connection> c_;
  };

  Lease Acquire() {
    std::unique_lock lock(mutex_);
    if (free_.empty() && extra_when_busy_) {
      lock.unlock();
      return Lease(*this, open_());
    }
    available_.wait(lock, [&] { return !free_.empty(); });
    auto c = std::move(free_.back());
    free_.pop_back();
    return Lease(*this, std::move(c));
  }

 private:
  void Return(std::unique_ptr<Connection> c) {
    {
      std::lock_guard lock(mutex_);
      if (free_.size() >= size_) return;  // an extra one: closed as `c` goes
      free_.push_back(std::move(c));
    }
    available_.notify_one();
  }

  Open open_;
  std::size_t size_;
  bool extra_when_busy_;
  std::mutex mutex_;
  std::condition_variable available_;
  std::vector<std::unique_ptr<Connection>> free_;
};

}  // namespace trakvolt::server
