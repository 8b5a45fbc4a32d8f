// The server's wall clock, handed in so that tests can move time themselves.
#pragma once

#include <cstdint>
#include <functional>

namespace trakvolt::server {

// Milliseconds since the epoch.
using Clock = std::function<std::int64_t()>;
std::int64_t SystemClockMs();

}  // namespace trakvolt::server
