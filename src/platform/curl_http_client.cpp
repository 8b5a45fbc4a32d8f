// GET over libcurl with the game's headers, in-memory cookies, time-outs and a size limit.
#include "platform/curl_http_client.h"

#include <curl/curl.h>

#include "base/game_error.h"

namespace trakvolt::platform {
namespace {

constexpr const char* kUserAgent = "Mozilla/3.0 (compatible; Trakvolt)";

struct Answer {
  std::string body;
  std::size_t limit = 0;
  bool too_long = false;
};

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto& answer = *static_cast<Answer*>(user);
  const std::size_t n = size * count;
  if (answer.body.size() + n > answer.limit) {
    answer.too_long = true;
    return 0;  // stops the transfer with a write error
  }
  answer.body.append(data, n);
  return n;
}

}  // namespace

struct CurlHttpClient::Handle {
  CURL* curl = nullptr;
  curl_slist* headers = nullptr;
  ~Handle() {
    if (curl != nullptr) curl_easy_cleanup(curl);
    curl_slist_free_all(headers);
  }
};

CurlHttpClient::CurlHttpClient(HttpLimits limits)
    : limits_(limits), handle_(std::make_unique<Handle>()) {
  handle_->curl = curl_easy_init();
  if (handle_->curl == nullptr) return;  // every Get then fails
  handle_->headers = curl_slist_append(handle_->headers, "Accept: text/html, */*");
  handle_->headers = curl_slist_append(handle_->headers, "Content-Type: text/html");
  CURL* c = handle_->curl;
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, handle_->headers);
  curl_easy_setopt(c, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(c, CURLOPT_COOKIEFILE, "");  // cookies on, in memory only
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // time-outs without signals, safe off the main thread
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, limits_.connect_timeout_ms);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, limits_.total_timeout_ms);
  curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &Collect);
}

CurlHttpClient::~CurlHttpClient() = default;

std::string CurlHttpClient::Get(const std::string& url) {
  CURL* c = handle_->curl;
  if (c == nullptr) throw GameError("The HTTP client could not be started");
  Answer answer;
  answer.limit = limits_.max_answer_bytes;
  char error[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &answer);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
  const CURLcode code = curl_easy_perform(c);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, nullptr);
  if (answer.too_long) throw GameError("The server's answer is too long");
  if (code == CURLE_OK) return std::move(answer.body);
  std::string message = error[0] != '\0' ? std::string(error) : curl_easy_strerror(code);
  if (code == CURLE_HTTP_RETURNED_ERROR) {
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    throw HttpStatusError(message, status);
  }
  throw GameError(message);
}

}  // namespace trakvolt::platform
