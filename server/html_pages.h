// The server's web pages: the game's page and the table of the best results. Self-contained
// (no outside resources), in the game's colours, every value escaped.
#pragma once

#include <string>
#include <vector>

#include "score_store.h"

namespace trakvolt::server {

// The Content-Security-Policy every page is sent with: nothing from outside, no scripts.
inline constexpr const char* kPageSecurityPolicy =
    "default-src 'none'; style-src 'unsafe-inline'; base-uri 'none'; form-action 'self'; "
    "frame-ancestors 'none'";

// The table of `rows` (ranked in order), filtered by `country` (UTF-8) when not empty.
std::string ScoreTablePage(const std::vector<ScoreRow>& rows, const std::string& country);
// What the game is, how to get it, and a link to the table.
std::string GamePage();
// A short page for a refused or unknown request.
std::string MessagePage(int status, const std::string& text);

// "YYYY-MM-DD HH:MM" in UTC.
std::string FormatDate(std::int64_t seconds);

}  // namespace trakvolt::server
