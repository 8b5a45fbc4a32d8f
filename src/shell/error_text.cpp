// The error box's full-stop rule.
#include "shell/error_text.h"

namespace trakvolt {

std::string ErrorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

}  // namespace trakvolt
