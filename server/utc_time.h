// Times as the pages and the log show them: UTC, whatever the machine's time zone.
#pragma once

#include <cstdint>
#include <string>

namespace trakvolt::server {

// `seconds` since the epoch through strftime's `format`, in UTC.
std::string FormatUtc(std::int64_t seconds, const char* format);

}  // namespace trakvolt::server
