// What the score server answers to each request, apart from the HTTP machinery: the game's
// availability check and submission, the pages, the JSON table and the health check.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "clock.h"
#include "options.h"
#include "rate_limit.h"
#include "refusal_log.h"
#include "score_store.h"
#include "top_cache.h"

namespace trakvolt::server {

struct Request {
  std::string method;
  std::string path;
  // Query arguments in order; a bare "version" has no value.
  std::vector<std::pair<std::string, std::optional<std::string>>> args;
  std::string address;  // the client's address, as stored with a result and logged
  // What the limits count by: the IPv4 address, or the /64 network of an IPv6 one (one
  // subscriber's line), so that an attacker cannot pick a fresh address per connection.
  std::string limit_key;
  std::string body;  // only for requests whose BodyLimit is above 0
};

struct Response {
  Response() = default;
  Response(int status_code, std::string type, std::string text)
      : status(status_code), content_type(std::move(type)), body(std::move(text)) {}
  int status = 200;
  std::string content_type = "text/plain; charset=utf-8";
  std::string body;
  // Extra header lines (Allow, Cache-Control); without a Cache-Control the answer is no-store.
  std::vector<std::pair<std::string, std::string>> headers;
};

// What the HTTP side hands each whole request to.
class RequestHandler {
 public:
  virtual ~RequestHandler() = default;
  // The answer; never throws.
  virtual Response Handle(const Request& request) = 0;
  // The largest body taken for this method and path, 0 when a body is refused unread (413).
  virtual std::size_t BodyLimit(const std::string& method, const std::string& path) const {
    (void)method;
    (void)path;
    return 0;
  }
};

// A country filter from the address bar or the command line (UTF-8) as it is stored: in
// capitals, as the game sends it; nothing when it holds what a player cannot type.
std::optional<std::string> CountryFilter(const std::string& utf8);

class ScoreService final : public RequestHandler {
 public:
  // Refusals are written to `log` when one is given.
  ScoreService(const ServerOptions& options, ScoreStore& store, Clock clock = SystemClockMs,
               RefusalLog* log = nullptr);
  // Never throws: a failing database is a 503.
  Response Handle(const Request& request) override;

 private:
  Response Route(const Request& request);
  struct Args;
  Response GameRequest(const Request& request, const Args& args);
  Response Availability(const Request& request);
  Response Submission(const Request& request, const std::string& inf);
  Response Table(const std::string& country);
  Response Json(const std::string& country);
  Response Health();
  std::vector<ScoreRow> Top(const std::string& country);
  // `answer`, written to the log with the client's address and `reason`.
  Response Refuse(const Request& request, const std::string& reason, Response answer);

  ServerOptions options_;
  ScoreStore& store_;
  Clock clock_;
  RefusalLog* log_;
  RequestLimit check_limit_;
  RequestLimit submit_limit_;
  RequestLimit page_limit_;
  TopCache top_cache_;
  // The last write probe's finding and when it was made: /health writes at most once a
  // second, however often it is asked.
  std::mutex health_mutex_;
  std::int64_t health_at_ms_ = -1;
  std::string health_problem_;
};

}  // namespace trakvolt::server
