// Escaping values for the HTML pages and the JSON answers. Rows may have been written into the
// database by other tools, so the text is made valid UTF-8 first: whatever bytes a row holds,
// the page and the JSON stay valid and readable.
#pragma once

#include <string>
#include <string_view>

namespace trakvolt::server {

// The text with every byte that does not begin a valid UTF-8 sequence (stray continuation
// bytes, overlong forms, surrogates, code points past U+10FFFF, a cut sequence) and every
// control character (C0, DEL, C1) replaced by U+FFFD.
std::string ValidText(std::string_view bytes);
// At most `max_chars` characters of valid text, with "…" in place of the rest.
std::string CutText(std::string_view valid_utf8, std::size_t max_chars);
// Valid text with & < > " ' as entities.
std::string HtmlEscape(std::string_view text);
// A JSON string literal of valid text with its quotes; " and \ escaped, and < > & as \u
// escapes, so that the JSON is safe to embed anywhere.
std::string JsonString(std::string_view text);

}  // namespace trakvolt::server
