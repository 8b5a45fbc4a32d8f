// Small helpers shared by the effect and score readers: words, key=value fields, numbers.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace trakvolt::audiogen {

// A reader error that names the file and line it came from.
class SourceError : public std::runtime_error {
 public:
  SourceError(const std::string& file, int line, const std::string& what)
      : std::runtime_error(file + ":" + std::to_string(line) + ": " + what) {}
};

// Splits a line into words on blanks; a double-quoted word may contain blanks.
std::vector<std::string> SplitWords(std::string_view line);

// Removes a '#' comment and surrounding blanks.
std::string_view StripComment(std::string_view line);

// "key=value" words after the first few; anything else is an error.
std::map<std::string, std::string> ParseFields(const std::vector<std::string>& words,
                                               std::size_t first, const std::string& file,
                                               int line);

double ParseNumber(const std::string& text, const std::string& file, int line);
int ParseInt(const std::string& text, const std::string& file, int line);
std::vector<double> ParseNumberList(const std::string& text, const std::string& file, int line);

// Reads a whole text file; throws std::runtime_error when it cannot be opened.
std::string ReadTextFile(const std::string& path);

}  // namespace trakvolt::audiogen
