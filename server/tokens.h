// One-time tokens: the value P the availability check hands out and a submission brings back.
#pragma once

#include <string>
#include <string_view>

namespace trakvolt::server {

// 128 bits from the system's random source as 32 lower-case hex digits; throws when the
// source fails.
std::string NewToken();
// Whether a text has the shape NewToken gives (checked before any database work).
bool LooksLikeToken(std::string_view text);

}  // namespace trakvolt::server
