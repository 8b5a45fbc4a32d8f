// The load tool's command line: which run to make and how hard.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace trakvolt::load {

// Plain: as many results as fast as the clients go, the server's limits off. The attacks run
// paced honest players against the server's default limits while something else hits it.
enum class Attack { None, Slowloris, Pages };

struct LoadSettings {
  std::string server;  // path of trakvolt-scores
  std::string db;      // empty: a fresh SQLite file in a temporary folder
  Attack attack = Attack::None;
  // Plain run.
  int requests = 1000;
  bool kill = false;
  // Honest clients: 50 as fast as they can in the plain run, 10 paced ones under attack.
  int clients = 0;
  // Under attack: how long the honest players play, and how often each checks and submits.
  int seconds = 60;
  double pace_seconds = 2.0;
  // Under attack every honest client has its own address 127.0.1.N unless they all share
  // 127.0.0.1.
  bool one_honest_address = false;
  long rows = 1000000;                   // --attack pages: results stored before the server starts
  std::vector<std::string> server_args;  // passed on after the tool's own
};

struct ParsedLoadOptions {
  std::optional<LoadSettings> settings;
  std::string message;  // help text, or what was wrong
  bool help = false;
};
ParsedLoadOptions ParseLoadOptions(const std::vector<std::string>& args);
std::string LoadHelpText();

}  // namespace trakvolt::load
