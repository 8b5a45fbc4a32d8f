// Plays a replay script through the game core on the headless machine: a seed, then per tick
// keys going down or up, typed characters, mouse moves and clicks, ticks and screenshots.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace trakvolt {

struct ReplayResult {
  bool ok = true;
  std::string error;  // the failing line and why, when !ok
  int ticks = 0;
  int game_state = 0;
  std::vector<std::string> message_boxes;  // texts, UTF-8
  // The summary line and the message box texts, as the runner prints them.
  std::string Summary() const;
};

// Runs the script in the current directory (which holds Data/). Each tick is 30 ms of virtual
// time. The run ends with the game's normal shutdown, so the save files are written.
ReplayResult RunReplay(std::istream& script);

// Windows virtual-key code of a key name used in scripts ("Up", "Enter", "A"...), or 0.
int ReplayKeyCode(const std::string& name);

}  // namespace trakvolt
