// File names in messages: the game names its files with backslashes ("Data\Res\Res1.dxg").
#pragma once

#include <algorithm>
#include <string>

namespace trakvolt {

// A relative path as the game writes it; an absolute path (a tool's argument) stays as given.
inline std::string GameFileName(std::string path) {
  if (!path.empty() && path.front() != '/') std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

}  // namespace trakvolt
