// Command-line options of trakvolt-scores.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trakvolt::server {

// What the program is asked to do: serve, or one operator's job on the database.
enum class ServerCommand { Serve, List, Remove, Backup };

struct ServerOptions {
  ServerCommand command = ServerCommand::Serve;
  std::int64_t remove_id = 0;  // --remove ID
  std::string backup_path;     // --backup FILE
  int list_limit = 100;        // --list [--limit N] [--country C]
  std::string list_country;    // UTF-8, empty for all
  // A host name, an IPv4 address, or an IPv6 address ("::" listens on IPv6 and IPv4 both).
  std::string listen_host = "127.0.0.1";
  std::uint16_t listen_port = 8642;
  std::string db = "scores.db";
  int token_ttl_seconds = 600;
  // Unused, unexpired tokens kept per client address (per /64 for IPv6); a new one beyond it
  // replaces the oldest, so a busy shared address is never locked out.
  int tokens_per_address = 100;
  // Requests a minute per client address (0: no limit) and the burst allowed at once. A
  // submission carrying a valid token is never refused by its rate: its check was counted.
  int check_rate = 120;
  int check_burst = 60;
  int submit_rate = 60;
  int submit_burst = 30;
  // The pages (/, the table, /api/scores, /health).
  int page_rate = 120;
  int page_burst = 60;
  // 0: as many as the process's open-file limit allows, up to 4096.
  int max_connections = 0;
  int max_connections_per_ip = 16;
  int connection_timeout_seconds = 10;
  // A whole request (request line, headers and any body) must arrive within this, counted
  // from the connection's start or the end of its previous answer.
  int request_deadline_seconds = 10;
  int threads = 4;
  // Database connections: SQLite readers beside the one writer, or PostgreSQL's pool.
  int db_connections = 4;
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
