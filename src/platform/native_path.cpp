// Path separator conversion: the game names its files with backslashes.
#include <algorithm>

#include "platform/platform.h"

namespace trakvolt::platform {

std::string NativePath(const std::string& path) {
  std::string out = path;
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

}  // namespace trakvolt::platform
