// The refusal log and its flood guard.
#include "refusal_log.h"

#include <cstdio>

#include "utc_time.h"

namespace trakvolt::server {
namespace {

// Addresses come from the peer or a trusted proxy's header; keep only what an address holds,
// so that a line can never be split or forged.
std::string Printable(const std::string& text) {
  std::string out;
  for (const char c : text.substr(0, 64))
    out += (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' ||
                   c == ':' || c == '/'
               ? c
               : '?';
  return out;
}

}  // namespace

RefusalLog::RefusalLog(Sink sink, Clock clock, int lines_per_second)
    : sink_(std::move(sink)), clock_(std::move(clock)), lines_per_second_(lines_per_second) {}

void RefusalLog::Refused(const std::string& address, const std::string& reason) {
  const std::int64_t second = clock_() / 1000;
  std::lock_guard lock(mutex_);
  if (second != second_) {
    if (unwritten_ > 0)
      sink_(FormatUtc(second, "%Y-%m-%dT%H:%M:%SZ") + " " + std::to_string(unwritten_) +
            " more refusals not logged one by one");
    second_ = second;
    written_ = 0;
    unwritten_ = 0;
  }
  if (written_ >= lines_per_second_) {
    ++unwritten_;
    return;
  }
  ++written_;
  sink_(FormatUtc(second, "%Y-%m-%dT%H:%M:%SZ") + " refused " + Printable(address) + ": " + reason);
}

RefusalLog::Sink StandardErrorSink() {
  return [](const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
  };
}

}  // namespace trakvolt::server
