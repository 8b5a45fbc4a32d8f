// Clients that ask for the score pages as fast as they can: a country nobody plays from,
// whose rows the database must look through the whole table for, and real ones.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace trakvolt::load {

class PageAttack {
 public:
  // `clients` clients from 127.0.0.`first_address` on, each on its own kept-alive
  // connection to 127.0.0.1:`port`.
  PageAttack(int port, int first_address, int clients);
  ~PageAttack() { Stop(); }
  PageAttack(const PageAttack&) = delete;
  PageAttack& operator=(const PageAttack&) = delete;
  // Stops every client (after its request in flight) and returns the answers by status
  // (0: none within 30 s).
  std::map<long, long> Stop();

 private:
  void Client(int index);

  int port_;
  int first_address_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::map<long, long> statuses_;
  std::vector<std::thread> threads_;
};

}  // namespace trakvolt::load
