// The short-lived cache of the table's rows.
#include "top_cache.h"

namespace trakvolt::server {

TopCache::TopCache(std::int64_t lifetime_ms, std::size_t max_entries)
    : lifetime_ms_(lifetime_ms), max_entries_(max_entries) {}

std::vector<ScoreRow> TopCache::Get(const std::string& country, std::int64_t now_ms,
                                    const std::function<std::vector<ScoreRow>()>& load) {
  std::uint64_t generation = 0;
  {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(country);
    if (it != entries_.end() && it->second.generation == generation_ &&
        now_ms >= it->second.loaded_ms && now_ms - it->second.loaded_ms < lifetime_ms_)
      return it->second.rows;
    generation = generation_;
  }
  // Loaded outside the lock: a slow read never holds up another filter's answer.
  std::vector<ScoreRow> rows = load();
  std::lock_guard lock(mutex_);
  if (generation == generation_) {
    if (entries_.size() >= max_entries_) entries_.clear();
    entries_[country] = {rows, now_ms, generation};
  }
  return rows;
}

void TopCache::Clear() {
  std::lock_guard lock(mutex_);
  entries_.clear();
  ++generation_;
}

}  // namespace trakvolt::server
