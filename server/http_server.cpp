// libmicrohttpd daemon and its request callback.
#include "http_server.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "html_pages.h"

namespace trakvolt::server {
namespace {

MHD_Result CollectArg(void* cls, MHD_ValueKind, const char* key, const char* value) {
  auto* args = static_cast<decltype(Request::args)*>(cls);
  args->emplace_back(key ? key : "",
                     value ? std::optional<std::string>(value) : std::optional<std::string>());
  return MHD_YES;
}

std::string ClientAddress(MHD_Connection* connection) {
  const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  if (info == nullptr || info->client_addr == nullptr) return "unknown";
  char buf[INET6_ADDRSTRLEN] = {};
  const sockaddr* sa = info->client_addr;
  if (sa->sa_family == AF_INET)
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(sa)->sin_addr, buf, sizeof buf);
  else if (sa->sa_family == AF_INET6)
    inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(sa)->sin6_addr, buf, sizeof buf);
  return buf[0] ? buf : "unknown";
}

// The last address of an X-Forwarded-For list (the one the proxy itself added), or empty when
// it is not a plain IPv4 or IPv6 address.
std::string LastForwardedAddress(const char* header) {
  std::string_view list = header;
  const auto comma = list.rfind(',');
  if (comma != std::string_view::npos) list.remove_prefix(comma + 1);
  while (!list.empty() && list.front() == ' ') list.remove_prefix(1);
  while (!list.empty() && list.back() == ' ') list.remove_suffix(1);
  const std::string text(list);
  unsigned char parsed[sizeof(in6_addr)];
  if (inet_pton(AF_INET, text.c_str(), parsed) == 1 ||
      inet_pton(AF_INET6, text.c_str(), parsed) == 1)
    return text;
  return {};
}

// The client's address for the limits: the peer's, or the proxy's word for it.
std::string ClientAddress(MHD_Connection* connection, bool trust_proxy) {
  std::string peer = ClientAddress(connection);
  if (!trust_proxy || (peer != "127.0.0.1" && peer != "::1")) return peer;
  const char* forwarded =
      MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "X-Forwarded-For");
  if (forwarded == nullptr) return peer;
  std::string client = LastForwardedAddress(forwarded);
  return client.empty() ? peer : client;
}

MHD_Result Queue(MHD_Connection* connection, const Response& r) {
  MHD_Response* response = MHD_create_response_from_buffer(
      r.body.size(), const_cast<char*>(r.body.data()), MHD_RESPMEM_MUST_COPY);
  if (response == nullptr) return MHD_NO;
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, r.content_type.c_str());
  MHD_add_response_header(response, "Content-Security-Policy", kPageSecurityPolicy);
  MHD_add_response_header(response, "X-Content-Type-Options", "nosniff");
  MHD_add_response_header(response, "Referrer-Policy", "no-referrer");
  MHD_add_response_header(response, MHD_HTTP_HEADER_CACHE_CONTROL, "no-store");
  const MHD_Result result =
      MHD_queue_response(connection, static_cast<unsigned>(r.status), response);
  MHD_destroy_response(response);
  return result;
}

MHD_Result OnRequest(void* cls, MHD_Connection* connection, const char* url, const char* method,
                     const char*, const char*, size_t* upload_data_size, void** con_cls) {
  const auto& self = *static_cast<HttpServer::Callback*>(cls);
  if (*con_cls == nullptr) {
    // First call: only the headers are known. Requests with a body are refused here,
    // before any of it is read.
    *con_cls = connection;
    const char* length =
        MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    const bool has_body = (length != nullptr && std::strcmp(length, "0") != 0) ||
                          MHD_lookup_connection_value(connection, MHD_HEADER_KIND,
                                                      MHD_HTTP_HEADER_TRANSFER_ENCODING) != nullptr;
    if (has_body) return Queue(connection, {413, "text/plain; charset=utf-8", "no body taken\n"});
    return MHD_YES;
  }
  if (*upload_data_size != 0) {
    *upload_data_size = 0;  // not reached: bodies are refused on the first call
    return MHD_YES;
  }
  Request request;
  request.method = method;
  request.path = url;
  request.address = ClientAddress(connection, self.trust_proxy);
  request.limit_key = request.address;
  MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, &CollectArg, &request.args);
  return Queue(connection, self.handler.Handle(request));
}

sockaddr_in ResolveIpv4(const std::string& host, std::uint16_t port) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
    throw std::runtime_error("cannot resolve listen address " + host);
  sockaddr_in addr{};
  std::memcpy(&addr, found->ai_addr, sizeof addr);
  freeaddrinfo(found);
  addr.sin_port = htons(port);
  return addr;
}

// The connection cap for "as many as the machine allows": the open-file limit raised to its
// hard ceiling, less room for the database and the log, at most 4096.
unsigned ConnectionCap(int asked) {
  if (asked > 0) return static_cast<unsigned>(asked);
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0) return 256;
  if (files.rlim_cur < files.rlim_max) {
    rlimit raised = files;
    raised.rlim_cur = std::min<rlim_t>(files.rlim_max, 65536);
    if (setrlimit(RLIMIT_NOFILE, &raised) == 0) files = raised;
  }
  constexpr rlim_t kReserved = 64;
  if (files.rlim_cur <= 2 * kReserved) return 16;
  return static_cast<unsigned>(std::min<rlim_t>(files.rlim_cur - kReserved, 4096));
}

}  // namespace

HttpServer::HttpServer(const ServerOptions& options, RequestHandler& handler)
    : callback_{handler, options.trust_proxy} {
  sockaddr_in addr = ResolveIpv4(options.listen_host, options.listen_port);
  daemon_ = MHD_start_daemon(
      MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_AUTO | MHD_USE_ERROR_LOG, options.listen_port,
      nullptr, nullptr, &OnRequest, &callback_, MHD_OPTION_SOCK_ADDR,
      reinterpret_cast<sockaddr*>(&addr), MHD_OPTION_THREAD_POOL_SIZE,
      static_cast<unsigned>(options.threads), MHD_OPTION_CONNECTION_LIMIT,
      ConnectionCap(options.max_connections), MHD_OPTION_PER_IP_CONNECTION_LIMIT,
      static_cast<unsigned>(options.max_connections_per_ip), MHD_OPTION_CONNECTION_TIMEOUT,
      static_cast<unsigned>(options.connection_timeout_seconds), MHD_OPTION_CONNECTION_MEMORY_LIMIT,
      static_cast<size_t>(2 * kMaxRequestBytes), MHD_OPTION_END);
  if (daemon_ == nullptr)
    throw std::runtime_error("cannot listen on " + options.listen_host + ":" +
                             std::to_string(options.listen_port));
  const auto* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
  port_ = info ? info->port : options.listen_port;
}

HttpServer::~HttpServer() { MHD_stop_daemon(daemon_); }

}  // namespace trakvolt::server
