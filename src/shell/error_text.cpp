// The error box's full-stop rule.
#include "shell/error_text.h"

#include <algorithm>

namespace trakvolt {

std::string ErrorBoxText(const std::string& message) {
  // A message of several lines (the failure, then what became of the files) ends every line.
  std::string text;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(message.find('\n', start), message.size());
    text.append(message, start, end - start);
    if (end > start && static_cast<unsigned char>(message[end - 1]) > '.') text += '.';
    if (end == message.size()) return text;
    text += '\n';
    start = end + 1;
  }
}

}  // namespace trakvolt
