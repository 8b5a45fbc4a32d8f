// Tokens from getrandom.
#include "tokens.h"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <stdexcept>

namespace trakvolt::server {
namespace {
constexpr std::string_view kHex = "0123456789abcdef";
constexpr std::size_t kTokenBytes = 16;
}  // namespace

std::string NewToken() {
  std::array<unsigned char, kTokenBytes> bytes{};
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = getrandom(bytes.data() + got, bytes.size() - got, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("getrandom failed");
    }
    got += static_cast<std::size_t>(n);
  }
  std::string out;
  for (const unsigned char b : bytes) {
    out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  return out;
}

bool LooksLikeToken(std::string_view text) {
  return text.size() == kTokenBytes * 2 && text.find_first_not_of(kHex) == std::string_view::npos;
}

}  // namespace trakvolt::server
