// The load tool's HTTP requests over libcurl, from a chosen loopback source address.
#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>

namespace trakvolt::load {

struct CurlDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;

// A handle that keeps its connection alive between requests. `source` is the local address
// to connect from (empty: the system's choice); the time-outs are in milliseconds.
CurlHandle MakeHandle(const std::string& source, long connect_timeout_ms, long total_timeout_ms);

// One GET: the status (0 when no answer came) and the body.
long Get(CURL* c, const std::string& url, std::string& body);

// The source address of client `index`: its own one in 127.0.1.0/24, 127.0.2.0/24, ...
std::string OwnAddress(int index);

}  // namespace trakvolt::load
