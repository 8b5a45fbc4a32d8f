// Per-address request limits: a bucket per client address that refills at a steady rate, so
// bursts up to the bucket's size pass and a steady flood is cut down.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

#include "score_store.h"

namespace trakvolt::server {

class RateLimiter {
 public:
  // `per_minute` requests a minute on average, bursts of `burst`; 0 per minute means no limit.
  RateLimiter(int per_minute, int burst);
  // Takes one request from the address's bucket at `now_ms`; false when it is empty.
  bool Allow(const std::string& address, std::int64_t now_ms);

 private:
  struct Bucket {
    double level = 0;
    std::int64_t at_ms = 0;
  };
  void Prune(std::int64_t now_ms);
  double per_ms_;
  double burst_;
  std::mutex mutex_;
  std::unordered_map<std::string, Bucket> buckets_;
};

// One kind of request's limit: counted in this process, or in the database where the store
// keeps the buckets for every server process sharing it (behind a load balancer).
class RequestLimit {
 public:
  // `kind` names the buckets in the database ("check", "submit", "page").
  RequestLimit(std::string kind, int per_minute, int burst, ScoreStore& store);
  bool Allow(const std::string& key, std::int64_t now_ms);

 private:
  std::string kind_;
  int per_minute_;
  int burst_;
  ScoreStore& store_;
  RateLimiter local_;
};

}  // namespace trakvolt::server
