// libcurl set-up for the load tool's clients.
#include "http_get.h"

namespace trakvolt::load {
namespace {

std::size_t Append(char* data, std::size_t size, std::size_t n, void* out) {
  static_cast<std::string*>(out)->append(data, size * n);
  return size * n;
}

}  // namespace

CurlHandle MakeHandle(const std::string& source, long connect_timeout_ms, long total_timeout_ms) {
  CurlHandle handle(curl_easy_init());
  CURL* c = handle.get();
  curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, connect_timeout_ms);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, total_timeout_ms);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &Append);
  if (!source.empty()) {
    // "host!" binds to the address itself, never to an interface of that name.
    const std::string interface = "host!" + source;
    curl_easy_setopt(c, CURLOPT_INTERFACE, interface.c_str());
  }
  return handle;
}

long Get(CURL* c, const std::string& url, std::string& body) {
  body.clear();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
  long status = 0;
  if (curl_easy_perform(c) == CURLE_OK) curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
  return status;
}

std::string OwnAddress(int index) {
  return "127.0." + std::to_string(1 + index / 250) + "." + std::to_string(1 + index % 250);
}

}  // namespace trakvolt::load
