// Client addresses as text and their limits' keys.
#include "client_key.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>

namespace trakvolt::server {
namespace {

std::string Ipv4Text(const void* address) {
  char buf[INET_ADDRSTRLEN] = {};
  return inet_ntop(AF_INET, address, buf, sizeof buf) ? buf : "";
}

std::string Ipv6Text(const in6_addr& address) {
  char buf[INET6_ADDRSTRLEN] = {};
  return inet_ntop(AF_INET6, &address, buf, sizeof buf) ? buf : "";
}

}  // namespace

std::string AddressText(const sockaddr* address) {
  if (address == nullptr) return "unknown";
  if (address->sa_family == AF_INET)
    return Ipv4Text(&reinterpret_cast<const sockaddr_in*>(address)->sin_addr);
  if (address->sa_family == AF_INET6) {
    const in6_addr& a = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
    return IN6_IS_ADDR_V4MAPPED(&a) ? Ipv4Text(&a.s6_addr[12]) : Ipv6Text(a);
  }
  return "unknown";
}

std::string LimitKey(std::string_view address) {
  const std::string text(address);
  in_addr v4{};
  if (inet_pton(AF_INET, text.c_str(), &v4) == 1) return Ipv4Text(&v4);
  in6_addr v6{};
  if (inet_pton(AF_INET6, text.c_str(), &v6) != 1) return {};
  if (IN6_IS_ADDR_V4MAPPED(&v6)) return Ipv4Text(&v6.s6_addr[12]);
  std::memset(&v6.s6_addr[8], 0, 8);
  return Ipv6Text(v6) + "/64";
}

bool IsLocalProxy(std::string_view address) { return address == "127.0.0.1" || address == "::1"; }

}  // namespace trakvolt::server
