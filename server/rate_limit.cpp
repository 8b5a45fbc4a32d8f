// Token buckets per client address.
#include "rate_limit.h"

#include <algorithm>

namespace trakvolt::server {
namespace {
// Beyond this many addresses, full buckets are forgotten (they hold nothing to remember).
constexpr std::size_t kPruneAbove = 10000;
}  // namespace

RateLimiter::RateLimiter(int per_minute, int burst)
    : per_ms_(per_minute / 60000.0), burst_(std::max(1, burst)) {}

bool RateLimiter::Allow(const std::string& address, std::int64_t now_ms) {
  if (per_ms_ <= 0) return true;
  std::lock_guard lock(mutex_);
  if (buckets_.size() > kPruneAbove) Prune(now_ms);
  auto [it, fresh] = buckets_.try_emplace(address, Bucket{burst_, now_ms});
  Bucket& b = it->second;
  if (!fresh) {
    const auto elapsed = static_cast<double>(std::max<std::int64_t>(0, now_ms - b.at_ms));
    b.level = std::min(burst_, b.level + elapsed * per_ms_);
    b.at_ms = now_ms;
  }
  if (b.level < 1) return false;
  b.level -= 1;
  return true;
}

void RateLimiter::Prune(std::int64_t now_ms) {
  std::erase_if(buckets_, [&](const auto& entry) {
    const auto elapsed = static_cast<double>(now_ms - entry.second.at_ms);
    return entry.second.level + elapsed * per_ms_ >= burst_;
  });
}

RequestLimit::RequestLimit(std::string kind, int per_minute, int burst, ScoreStore& store)
    : kind_(std::move(kind)),
      per_minute_(per_minute),
      burst_(std::max(1, burst)),
      store_(store),
      local_(per_minute, burst) {}

bool RequestLimit::Allow(const std::string& key, std::int64_t now_ms) {
  if (per_minute_ <= 0) return true;
  if (!store_.SharesRateBuckets()) return local_.Allow(key, now_ms);
  return store_.TakeFromBucket(kind_ + ":" + key, per_minute_, burst_, now_ms);
}

}  // namespace trakvolt::server
