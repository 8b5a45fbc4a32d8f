// Parsing and describing the load tool's command line.
#include "load_options.h"

#include <charconv>

namespace trakvolt::load {
namespace {

template <typename T>
std::optional<T> ToNumber(const std::string& text, T min, T max) {
  T v{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc{} || end != text.data() + text.size() || v < min || v > max)
    return std::nullopt;
  return v;
}

}  // namespace

std::string LoadHelpText() {
  return R"(Usage: trakvolt-scores-load --server PATH [OPTION]...
Starts the real score server (PATH, trakvolt-scores) on a free loopback port and measures how
long an honest player's availability check and submission take, p50 and p99.

Runs:
  (no --attack)        plain: --requests results from --clients clients (default 50) as fast
                       as they go, from 127.0.0.1, with the server's rate and connection
                       limits switched off. Checks that every result answered "OK" is stored
                       exactly once, that none was lost and that no request got a 5xx; prints
                       the throughput, p50 and p99. With --kill the server is killed (SIGKILL)
                       halfway and started again on the same database; the clients retry.
  --attack slowloris   the server runs with its default limits. 17 addresses (127.0.0.2 to
                       127.0.0.18) open 16 connections each, send a request line and then one
                       header byte every 3 s, and reconnect when the server closes them.
                       Meanwhile --clients honest players (default 10) each check and submit
                       once every --pace seconds for --seconds. Prints the honest p50/p99, how
                       many honest requests got no answer within 5 s (the game's time-out),
                       how many were refused, and how many attack connections the server
                       closed.
  --attack pages       the table is first filled with --rows results (default 1000000; over
                       a few hundred countries) straight in the database, then the server
                       starts with its default limits. 4 clients from 127.0.0.2 to 127.0.0.5
                       ask as fast as they can for /api/scores and the table page, for the
                       country NOWHERE and for real ones, while the honest players play as
                       above. Prints the honest p50/p99, the honest requests refused (any
                       answer but 200) or unanswered, and the attackers' answers by status.

Honest players under attack use the game's time-outs (3 s to connect, 5 s a request), a fresh
connection for each check and submission pair, and no retries; p50 and p99 are of the pairs
answered "OK", and a player whose pair ran past its next turn skips that turn. Each player
has its own address 127.0.1.N, so each stays within the server's default per-address rates
(checks 120 a minute, submissions 60); with --one-honest-address they all come from 127.0.0.1
and the tool warns when together they go over those rates.

Options:
  --server PATH          the trakvolt-scores program (needed)
  --db FILE|URL          an empty SQLite file, or postgresql://... of an empty database
                         (default: a fresh SQLite file in a temporary folder)
  --attack KIND          slowloris or pages (default: the plain run)
  --requests N           plain run: results to submit (default 1000)
  --clients N            honest clients (default 50 plain, 10 under attack)
  --kill                 plain run: kill and restart the server halfway
  --seconds N            under attack: how long the honest players play (default 60)
  --pace SECONDS         under attack: each honest player's check and submission every this
                         (default 2)
  --one-honest-address   under attack: every honest player on 127.0.0.1
  --rows N               --attack pages: results stored before the start (default 1000000)
  --server-arg ARG       one more argument for the server, after the tool's own (repeat it:
                         --server-arg --threads --server-arg 8)
  --help                 show this text

Exit status: 0 when every honest result was answered "OK" and stored once and no request got a
5xx (with --kill: no result answered "OK" was lost), 1 otherwise, 2 for a bad command line.
)";
}

ParsedLoadOptions ParseLoadOptions(const std::vector<std::string>& args) {
  LoadSettings s;
  const auto bad = [](const std::string& why) { return ParsedLoadOptions{std::nullopt, why}; };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") return {std::nullopt, LoadHelpText(), true};
    if (a == "--kill") {
      s.kill = true;
      continue;
    }
    if (a == "--one-honest-address") {
      s.one_honest_address = true;
      continue;
    }
    if (i + 1 >= args.size()) return bad("unknown option or missing value: " + a);
    const std::string& v = args[++i];
    if (a == "--server") {
      s.server = v;
    } else if (a == "--db") {
      s.db = v;
    } else if (a == "--server-arg") {
      s.server_args.push_back(v);
    } else if (a == "--attack") {
      if (v == "slowloris")
        s.attack = Attack::Slowloris;
      else if (v == "pages")
        s.attack = Attack::Pages;
      else
        return bad("--attack wants slowloris or pages, got " + v);
    } else if (a == "--requests" || a == "--clients" || a == "--seconds") {
      const auto n = ToNumber(v, 1, a == "--clients" ? 500 : 1000000);
      if (!n) return bad(a + " wants a number from 1 to " + (a == "--clients" ? "500" : "1000000"));
      (a == "--requests" ? s.requests : a == "--clients" ? s.clients : s.seconds) = *n;
    } else if (a == "--rows") {
      const auto n = ToNumber(v, 0L, 100000000L);
      if (!n) return bad("--rows wants a number from 0 to 100000000");
      s.rows = *n;
    } else if (a == "--pace") {
      const auto n = ToNumber(v, 0.05, 600.0);
      if (!n) return bad("--pace wants seconds from 0.05 to 600");
      s.pace_seconds = *n;
    } else {
      return bad("unknown option: " + a);
    }
  }
  if (s.server.empty()) return bad("--server PATH of trakvolt-scores is needed");
  if (s.kill && s.attack != Attack::None) return bad("--kill is for the plain run only");
  if (s.clients == 0) s.clients = s.attack == Attack::None ? 50 : 10;
  return {s, {}, false};
}

}  // namespace trakvolt::load
