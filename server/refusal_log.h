// Refused requests for the operator: one line per refusal with the time, the client's address
// and the reason, never a payload. A flood is summed up rather than written line by line, so
// that an attack cannot fill the disk or slow the server through its own log.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "clock.h"

namespace trakvolt::server {

class RefusalLog {
 public:
  using Sink = std::function<void(const std::string& line)>;
  // At most `lines_per_second` lines a second reach `sink`; the rest are counted and reported
  // in one line when the next second's first refusal comes.
  explicit RefusalLog(Sink sink, Clock clock = SystemClockMs, int lines_per_second = 20);
  // "2026-12-11T16:00:00Z refused 203.0.113.5: check rate"
  void Refused(const std::string& address, const std::string& reason);

 private:
  Sink sink_;
  Clock clock_;
  int lines_per_second_;
  std::mutex mutex_;
  std::int64_t second_ = -1;
  int written_ = 0;
  std::int64_t unwritten_ = 0;
};

// A sink writing each line to the standard error.
RefusalLog::Sink StandardErrorSink();

}  // namespace trakvolt::server
