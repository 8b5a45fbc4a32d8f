// Parsing and describing the command line.
#include "options.h"

#include <charconv>

namespace trakvolt::server {
namespace {

struct IntOption {
  const char* name;
  int ServerOptions::*field;
  int min;
  int max;
};

constexpr IntOption kIntOptions[] = {
    {"--token-ttl", &ServerOptions::token_ttl_seconds, 10, 86400},
    {"--tokens-per-address", &ServerOptions::tokens_per_address, 1, 1000000},
    {"--check-rate", &ServerOptions::check_rate, 0, 1000000},
    {"--check-burst", &ServerOptions::check_burst, 1, 1000000},
    {"--submit-rate", &ServerOptions::submit_rate, 0, 1000000},
    {"--submit-burst", &ServerOptions::submit_burst, 1, 1000000},
    {"--page-rate", &ServerOptions::page_rate, 0, 1000000},
    {"--page-burst", &ServerOptions::page_burst, 1, 1000000},
    {"--max-connections", &ServerOptions::max_connections, 0, 100000},
    {"--max-connections-per-ip", &ServerOptions::max_connections_per_ip, 0, 100000},
    {"--connection-timeout", &ServerOptions::connection_timeout_seconds, 1, 3600},
    {"--request-deadline", &ServerOptions::request_deadline_seconds, 1, 3600},
    {"--threads", &ServerOptions::threads, 1, 256},
    {"--db-connections", &ServerOptions::db_connections, 1, 64},
    {"--limit", &ServerOptions::list_limit, 1, 1000000},
    {"--table-size", &ServerOptions::table_size, 1, 10000},
};

std::optional<int> ToInt(const std::string& text) {
  int v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return v;
}

// "HOST:PORT" or "[IPv6]:PORT" with a numeric port.
bool SetListen(const std::string& text, ServerOptions& o) {
  const auto colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  const auto port = ToInt(text.substr(colon + 1));
  if (!port || *port < 0 || *port > 65535) return false;
  std::string host = text.substr(0, colon);
  if (host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') return false;
    host = host.substr(1, host.size() - 2);
  } else if (host.find(':') != std::string::npos) {
    return false;  // an IPv6 address needs its brackets
  }
  o.listen_host = host;
  o.listen_port = static_cast<std::uint16_t>(*port);
  return true;
}

std::optional<std::int64_t> ToId(const std::string& text) {
  std::int64_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc{} || end != text.data() + text.size() || v < 1) return std::nullopt;
  return v;
}

}  // namespace

std::string HelpText() {
  return R"(Usage: trakvolt-scores [OPTION]...
The online score table of Trakvolt ("Гонкострель"): answers the game's availability check and
result submission, and shows the best results as a web page and as JSON.

  --listen ADDR:PORT          address and port to listen on (default 127.0.0.1:8642;
                              [::]:PORT listens on IPv6 and IPv4; port 0 picks a free port,
                              printed at start)
  --db PATH|URL               SQLite database file, created on first start (default scores.db),
                              or a PostgreSQL connection string beginning with postgresql://
  --token-ttl SECONDS         how long the value handed out by the availability check stays
                              valid for one submission (default 600)
  --tokens-per-address N      unused, unexpired values kept per client address; a new one
                              beyond this replaces the oldest (default 100)
  --check-rate N              availability checks per minute per client address, 0 for no
                              limit (default 120)
  --check-burst N             checks one address may make at once (default 60)
  --submit-rate N             submissions per minute per client address, 0 for no limit; one
                              with a valid value is never refused (default 60)
  --submit-burst N            submissions one address may make at once (default 30)
  --page-rate N               page and /api/scores requests per minute per client address,
                              0 for no limit (default 120)
  --page-burst N              page requests one address may make at once (default 60)
  --max-connections N         open connections in all, 0 for as many as the open-file limit
                              allows up to 4096 (default 0)
  --max-connections-per-ip N  open connections per client address, 0 for no limit (default 16)
  --connection-timeout SECONDS  a connection that sends nothing is closed after this
                              (default 10)
  --request-deadline SECONDS  a whole request must arrive within this, however slowly it
                              trickles in (default 10)
  --threads N                 worker threads (default 4)
  --db-connections N          database connections: SQLite readers beside its one writer, or
                              PostgreSQL connections (default 4)
  --table-size N              results shown on the page and in /api/scores (default 100)
  --trust-proxy               the server sits behind a reverse proxy on this machine: for
                              requests coming from 127.0.0.1 or ::1, the client's address (for
                              the limits) is the last one in X-Forwarded-For
  --help                      show this text and exit

Jobs for the operator (on the --db database; the server may be running):
  --list [--limit N] [--country C]  print the best results with their id and address
  --remove ID                 remove one result (an offensive name, a forgery)
  --backup FILE               copy a SQLite database, live, into FILE (for PostgreSQL use
                              pg_dump)

Limits count IPv4 addresses one by one and IPv6 addresses by their /64 network. Over
PostgreSQL the request rates and the unused values are kept in the database, so every server
process sharing it enforces one limit; over SQLite the rates are counted by each process.
Behind a reverse proxy without --trust-proxy every client has the proxy's address.
Refused requests are logged on the standard error: time, address, reason.

Pages: /  the game's page;  /cgi/version.pl?prg=Trakvolt&show&type=0[&country=C]  the table;
       /api/scores[?country=C]  the table as JSON;  /health  "ok" while the database answers.
)";
}

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
  ServerOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") return {std::nullopt, HelpText(), true};
    if (a == "--trust-proxy") {
      o.trust_proxy = true;
      continue;
    }
    if (a == "--list") {
      o.command = ServerCommand::List;
      continue;
    }
    if (i + 1 >= args.size()) return {std::nullopt, "unknown option or missing value: " + a, false};
    const std::string& value = args[++i];
    if (a == "--listen") {
      if (!SetListen(value, o))
        return {std::nullopt, "--listen wants ADDR:PORT, got " + value, false};
      continue;
    }
    if (a == "--remove") {
      const auto id = ToId(value);
      if (!id) return {std::nullopt, "--remove wants a result's id, got " + value, false};
      o.command = ServerCommand::Remove;
      o.remove_id = *id;
      continue;
    }
    if (a == "--backup") {
      if (value.empty()) return {std::nullopt, "--backup wants a file name", false};
      o.command = ServerCommand::Backup;
      o.backup_path = value;
      continue;
    }
    if (a == "--country") {
      o.list_country = value;
      continue;
    }
    if (a == "--db") {
      if (value.empty())
        return {std::nullopt, "--db wants a path or a postgresql:// string", false};
      o.db = value;
      continue;
    }
    bool known = false;
    for (const IntOption& io : kIntOptions) {
      if (a != io.name) continue;
      const auto v = ToInt(value);
      if (!v || *v < io.min || *v > io.max)
        return {std::nullopt,
                a + " wants a number from " + std::to_string(io.min) + " to " +
                    std::to_string(io.max) + ", got " + value,
                false};
      o.*io.field = *v;
      known = true;
    }
    if (!known) return {std::nullopt, "unknown option: " + a, false};
  }
  return {o, {}, false};
}

}  // namespace trakvolt::server
