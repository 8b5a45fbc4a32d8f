// How the score server names a client: its address as text, and the key its connection and
// request limits count it by.
#pragma once

#include <string>
#include <string_view>

struct sockaddr;

namespace trakvolt::server {

// The address in its usual text form; an IPv4 address reaching an IPv6 socket
// (::ffff:a.b.c.d) is written as the IPv4 address it is. "unknown" for other families.
std::string AddressText(const sockaddr* address);

// What the limits count by: an IPv4 address as it is (an IPv4-mapped IPv6 address as its IPv4
// address), any other IPv6 address by its /64 network ("2001:db8:1:2::/64"), since one
// subscriber's line usually holds a whole /64 and could otherwise use a fresh address per
// connection. Empty when `address` is not an IPv4 or IPv6 address.
std::string LimitKey(std::string_view address);

// Whether `address` (as AddressText writes it) is this machine's loopback, where a trusted
// reverse proxy connects from.
bool IsLocalProxy(std::string_view address);

}  // namespace trakvolt::server
