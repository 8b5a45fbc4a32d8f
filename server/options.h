// Command-line options of trakvolt-scores.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trakvolt::server {

struct ServerOptions {
  std::string listen_host = "127.0.0.1";
  std::uint16_t listen_port = 8642;
  std::string db = "scores.db";
  int token_ttl_seconds = 600;
  int tokens_per_address = 20;
  // Requests a minute per client address (0: no limit) and the burst allowed at once.
  int check_rate = 120;
  int check_burst = 30;
  int submit_rate = 30;
  int submit_burst = 10;
  int max_connections = 256;
  int max_connections_per_ip = 16;
  int connection_timeout_seconds = 10;
  int threads = 4;
  int table_size = 100;
  // Behind a reverse proxy on this machine: take the client's address from the last entry of
  // the proxy's X-Forwarded-For header.
  bool trust_proxy = false;
};

// The options, or the message to print: `help` true for --help (exit 0), false for a mistake
// (exit 2).
struct ParsedOptions {
  std::optional<ServerOptions> options;
  std::string message;
  bool help = false;
};
ParsedOptions ParseOptions(const std::vector<std::string>& args);
std::string HelpText();

}  // namespace trakvolt::server
