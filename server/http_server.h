// The HTTP side of the score server over libmicrohttpd: listening on IPv4 or IPv6, connection
// caps per client key and in all, request deadlines, the head and body limits, turning each
// request into a Request for the handler and its Response back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "options.h"
#include "refusal_log.h"
#include "routes.h"

struct MHD_Daemon;

namespace trakvolt::server {

class HttpServer {
 public:
  // Starts listening on the options' address with their limits; throws when it cannot.
  // Refusals (connection caps, deadlines, oversized requests) go to `log` when given.
  HttpServer(const ServerOptions& options, RequestHandler& handler, RefusalLog* log = nullptr);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // The port actually listened on (the chosen one when the options said 0).
  std::uint16_t Port() const { return port_; }

  // What the daemon's callbacks share.
  struct Shared;

 private:
  std::unique_ptr<Shared> shared_;
  MHD_Daemon* daemon_ = nullptr;
  std::uint16_t port_ = 0;
};

// The request's head as sent (request line, header lines, their line ends and the blank line
// after them) may be this long at most: a longer request line is answered 414, longer header
// lines 431.
inline constexpr std::size_t kMaxRequestBytes = 8 * 1024;

}  // namespace trakvolt::server
