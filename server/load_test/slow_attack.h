// Slow senders: connections that never finish their request, each sending one header byte
// every few seconds and reconnecting when the server closes it, to tie up its connections.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

namespace trakvolt::load {

struct SlowAttackCounts {
  long opened = 0;              // connections made
  long closed_by_server = 0;    // ended by the server (end of stream, reset or refusal)
  long closed_with_answer = 0;  // of those, how many had an answer first (a 408, say)
  long open_at_end = 0;         // still open when the attack stopped
  long bytes_sent = 0;
};

class SlowAttack {
 public:
  // From 127.0.0.`first_address` on, `addresses` addresses × `per_address` connections to
  // 127.0.0.1:`port`, one byte each every `interval`.
  SlowAttack(int port, int first_address, int addresses, int per_address,
             std::chrono::milliseconds interval);
  ~SlowAttack() { Stop(); }
  SlowAttack(const SlowAttack&) = delete;
  SlowAttack& operator=(const SlowAttack&) = delete;
  // Closes every connection and returns what happened.
  SlowAttackCounts Stop();

 private:
  void Run();

  int port_;
  int first_address_;
  int addresses_;
  int per_address_;
  std::chrono::milliseconds interval_;
  std::atomic<bool> stop_{false};
  SlowAttackCounts counts_;
  std::thread thread_;
};

}  // namespace trakvolt::load
