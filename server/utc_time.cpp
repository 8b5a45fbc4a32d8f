// UTC times as text.
#include "utc_time.h"

#include <ctime>

namespace trakvolt::server {

std::string FormatUtc(std::int64_t seconds, const char* format) {
  const auto t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buf[64];
  return std::strftime(buf, sizeof buf, format, &tm) > 0 ? buf : "";
}

}  // namespace trakvolt::server
