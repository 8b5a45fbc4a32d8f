// Word splitting and number reading for the audio builder's text formats.
#include "text_fields.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace trakvolt::audiogen {

std::vector<std::string> SplitWords(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    std::string word;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
      if (line[i] == '"') {
        const std::size_t end = line.find('"', i + 1);
        const std::size_t stop = end == std::string_view::npos ? line.size() : end;
        word.append(line.substr(i + 1, stop - i - 1));
        i = stop == line.size() ? stop : stop + 1;
      } else {
        word.push_back(line[i++]);
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::string_view StripComment(std::string_view line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == '#' && !quoted) {
      line = line.substr(0, i);
      break;
    }
  }
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
    line.remove_suffix(1);
  return line;
}

std::map<std::string, std::string> ParseFields(const std::vector<std::string>& words,
                                               std::size_t first, const std::string& file,
                                               int line) {
  std::map<std::string, std::string> fields;
  for (std::size_t i = first; i < words.size(); ++i) {
    const std::size_t eq = words[i].find('=');
    if (eq == std::string::npos || eq == 0)
      throw SourceError(file, line, "expected key=value, got '" + words[i] + "'");
    fields[words[i].substr(0, eq)] = words[i].substr(eq + 1);
  }
  return fields;
}

namespace {

template <typename T>
T ParseValue(const std::string& text, const char* what, const std::string& file, int line) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty())
    throw SourceError(file, line, std::string(what) + ": '" + text + "'");
  return value;
}

}  // namespace

double ParseNumber(const std::string& text, const std::string& file, int line) {
  return ParseValue<double>(text, "not a number", file, line);
}

int ParseInt(const std::string& text, const std::string& file, int line) {
  return ParseValue<int>(text, "not a whole number", file, line);
}

std::vector<double> ParseNumberList(const std::string& text, const std::string& file, int line) {
  std::vector<double> values;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::size_t stop = comma == std::string::npos ? text.size() : comma;
    values.push_back(ParseNumber(text.substr(start, stop - start), file, line));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return values;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace trakvolt::audiogen
