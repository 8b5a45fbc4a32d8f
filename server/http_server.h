// The HTTP side of the score server over libmicrohttpd: listening, connection limits and
// time-outs, turning each request into a Request for the ScoreService and its Response back.
#pragma once

#include <cstdint>

#include "options.h"
#include "routes.h"

struct MHD_Daemon;

namespace trakvolt::server {

class HttpServer {
 public:
  // Starts listening on the options' address with their limits; throws when it cannot.
  HttpServer(const ServerOptions& options, RequestHandler& handler);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // The port actually listened on (the chosen one when the options said 0).
  std::uint16_t Port() const { return port_; }

  // What the request callback needs.
  struct Callback {
    RequestHandler& handler;
    bool trust_proxy;
  };

 private:
  Callback callback_;
  MHD_Daemon* daemon_ = nullptr;
  std::uint16_t port_ = 0;
};

// The header lines a request may carry at most, in bytes, with its request line.
inline constexpr std::size_t kMaxRequestBytes = 8 * 1024;

}  // namespace trakvolt::server
