// Escaping values for the HTML pages and the JSON answers.
#pragma once

#include <string>
#include <string_view>

namespace trakvolt::server {

// & < > " ' as entities.
std::string HtmlEscape(std::string_view text);
// A JSON string literal with its quotes; control characters as \u escapes.
std::string JsonString(std::string_view utf8);

}  // namespace trakvolt::server
