// The page clients' loop.
#include "page_attack.h"

#include <string>

#include "http_get.h"
#include "table_fill.h"

namespace trakvolt::load {

PageAttack::PageAttack(int port, int first_address, int clients)
    : port_(port), first_address_(first_address) {
  for (int i = 0; i < clients; ++i) threads_.emplace_back([this, i] { Client(i); });
}

std::map<long, long> PageAttack::Stop() {
  stop_ = true;
  for (auto& t : threads_) t.join();
  threads_.clear();
  std::lock_guard lock(mutex_);
  return statuses_;
}

void PageAttack::Client(int index) {
  const std::string source = "127.0.0." + std::to_string(first_address_ + index);
  const CurlHandle handle = MakeHandle(source, 3000, 30000);
  const std::string host = "http://127.0.0.1:" + std::to_string(port_);
  const std::string table = host + "/cgi/version.pl?prg=Trakvolt&show&type=0&country=";
  const std::string api = host + "/api/scores?country=";
  std::map<long, long> mine;
  std::string body;
  for (long n = index; !stop_; ++n) {
    // NOWHERE on the table and the JSON, then a real country on each.
    std::string country = "NOWHERE";
    if (n % 4 >= 2) {
      country = FilledCountry(static_cast<int>(n / 4 * 37 % kFilledCountries));
      country.replace(country.find(' '), 1, "%20");
    }
    ++mine[Get(handle.get(), (n % 2 == 0 ? api : table) + country, body)];
  }
  std::lock_guard lock(mutex_);
  for (const auto& [k, v] : mine) statuses_[k] += v;
}

}  // namespace trakvolt::load
