// The HTTP client of both platforms, over libcurl: the game's request headers, cookies kept in
// memory, bounded waits and a bounded answer.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace trakvolt::platform {

struct HttpLimits {
  long connect_timeout_ms = 3000;
  long total_timeout_ms = 5000;  // connection, request and the whole answer
  std::size_t max_answer_bytes = 64 * 1024;
};

class CurlHttpClient final : public HttpClient {
 public:
  explicit CurlHttpClient(HttpLimits limits = {});
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  std::string Get(const std::string& url) override;

 private:
  struct Handle;
  HttpLimits limits_;
  // One handle for the whole run, so cookies the server sets are sent back next time.
  std::unique_ptr<Handle> handle_;
};

}  // namespace trakvolt::platform
