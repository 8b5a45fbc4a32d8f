// Filling the score table straight in the database before the server starts, so that pages
// are asked of a table as big as a long-running server's.
#pragma once

#include <string>

namespace trakvolt::load {

// The stored results are spread over this many countries, "ZONE AA", "ZONE AB", ...
inline constexpr int kFilledCountries = 300;
std::string FilledCountry(int index);

// Creates the schema (through the server's own store) and adds `rows` results in one
// statement: a recursive query over SQLite, generate_series over PostgreSQL. None is from
// the honest players' country.
void FillTable(const std::string& db, long rows);

}  // namespace trakvolt::load
