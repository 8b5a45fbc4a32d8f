// How error messages are shown: the application title as caption and the full-stop rule.
#pragma once

#include <string>

namespace trakvolt {

// The caption of every error box (UTF-8).
inline constexpr const char* kApplicationTitle = "Гонкострель";

// The message as the error box shows it: a full stop is appended when the last character comes
// after '.' in code order (letters and digits do; ')' or '!' do not), to each line of a message
// of several lines. cp1251 in, cp1251 out.
std::string ErrorBoxText(const std::string& message);

}  // namespace trakvolt
