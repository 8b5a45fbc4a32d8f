// The best results per country filter, kept for a moment: a table page hammered by many
// clients costs one query per filter and moment, whatever the table holds.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "score_store.h"

namespace trakvolt::server {

class TopCache {
 public:
  // Entries live `lifetime_ms`; beyond `max_entries` filters the cache starts afresh.
  TopCache(std::int64_t lifetime_ms, std::size_t max_entries);
  // The rows for `country` as loaded within the lifetime, or freshly from `load`.
  std::vector<ScoreRow> Get(const std::string& country, std::int64_t now_ms,
                            const std::function<std::vector<ScoreRow>()>& load);
  // Forgets everything: a result was stored through this process.
  void Clear();

 private:
  struct Entry {
    std::vector<ScoreRow> rows;
    std::int64_t loaded_ms = 0;
    std::uint64_t generation = 0;
  };
  std::int64_t lifetime_ms_;
  std::size_t max_entries_;
  std::mutex mutex_;
  std::map<std::string, Entry> entries_;
  std::uint64_t generation_ = 0;  // raised by Clear, so a load begun before it is not kept
};

}  // namespace trakvolt::server
