// The characters the input fields admit.
#include "screens/text_field.h"

namespace trakvolt {

unsigned char CyrillicCapital(unsigned char ch) {
  return ch >= 0xE0 ? static_cast<unsigned char>(ch - 32) : ch;
}

std::optional<unsigned char> FieldCharacter(unsigned char ch) {
  if (ch >= 'a' && ch <= 'z') return static_cast<unsigned char>(ch - 32);
  if ((ch >= 'A' && ch <= 'Z') || (ch >= 0xC0 && ch <= 0xDF) || ch == ' ') return ch;
  return std::nullopt;
}

std::string DeleteLastChar(const std::string& text) {
  return text.empty() ? text : text.substr(0, text.size() - 1);
}

}  // namespace trakvolt
