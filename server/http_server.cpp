// libmicrohttpd daemon and its callbacks.
#include "http_server.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netdb.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "client_key.h"
#include "connection_watch.h"
#include "html_pages.h"

namespace trakvolt::server {

struct HttpServer::Shared {
  RequestHandler& handler;
  bool trust_proxy;
  RefusalLog* log;
  ConnectionWatch watch;
  // The library's own messages are shown while the daemon starts (why it cannot listen);
  // once it serves, they would let any client write to the log at will.
  std::atomic<bool> starting{true};
};

namespace {

using Shared = HttpServer::Shared;

// One connection's state: its id with the watch and what its current request has shown.
struct ConnectionState {
  std::uint64_t id = 0;
  std::size_t target_bytes = 0;  // the request target as sent
  std::size_t body_limit = 0;
  bool body_too_long = false;
  std::string body;
};

ConnectionState* StateOf(MHD_Connection* connection) {
  const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
  return info ? static_cast<ConnectionState*>(info->socket_context) : nullptr;
}

MHD_Result CollectArg(void* cls, MHD_ValueKind, const char* key, const char* value) {
  auto* args = static_cast<decltype(Request::args)*>(cls);
  args->emplace_back(key ? key : "",
                     value ? std::optional<std::string>(value) : std::optional<std::string>());
  return MHD_YES;
}

const sockaddr* PeerOf(MHD_Connection* connection) {
  const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  return info ? info->client_addr : nullptr;
}

// The last address of an X-Forwarded-For list (the one the proxy itself added), or empty when
// it is not a plain IPv4 or IPv6 address.
std::string LastForwardedAddress(const char* header) {
  std::string_view list = header;
  const auto comma = list.rfind(',');
  if (comma != std::string_view::npos) list.remove_prefix(comma + 1);
  while (!list.empty() && list.front() == ' ') list.remove_prefix(1);
  while (!list.empty() && list.back() == ' ') list.remove_suffix(1);
  return LimitKey(list).empty() ? std::string() : std::string(list);
}

// The client's address: the peer's, or the trusted local proxy's word for it.
std::string ClientAddress(MHD_Connection* connection, bool trust_proxy) {
  std::string peer = AddressText(PeerOf(connection));
  if (!trust_proxy || !IsLocalProxy(peer)) return peer;
  const char* forwarded =
      MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "X-Forwarded-For");
  if (forwarded == nullptr) return peer;
  std::string client = LastForwardedAddress(forwarded);
  return client.empty() ? peer : client;
}

bool HasHeader(const Response& r, const char* name) {
  return std::any_of(r.headers.begin(), r.headers.end(),
                     [name](const auto& h) { return strcasecmp(h.first.c_str(), name) == 0; });
}

// Queues the answer; from here it must be sent within the deadline.
MHD_Result Answer(Shared& shared, MHD_Connection* connection, const Response& r) {
  if (ConnectionState* state = StateOf(connection)) shared.watch.StartDeadline(state->id);
  MHD_Response* response = MHD_create_response_from_buffer(
      r.body.size(), const_cast<char*>(r.body.data()), MHD_RESPMEM_MUST_COPY);
  if (response == nullptr) return MHD_NO;
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, r.content_type.c_str());
  MHD_add_response_header(response, "Content-Security-Policy", kPageSecurityPolicy);
  MHD_add_response_header(response, "X-Content-Type-Options", "nosniff");
  MHD_add_response_header(response, "Referrer-Policy", "no-referrer");
  for (const auto& [name, value] : r.headers)
    MHD_add_response_header(response, name.c_str(), value.c_str());
  if (!HasHeader(r, MHD_HTTP_HEADER_CACHE_CONTROL))
    MHD_add_response_header(response, MHD_HTTP_HEADER_CACHE_CONTROL, "no-store");
  const MHD_Result result =
      MHD_queue_response(connection, static_cast<unsigned>(r.status), response);
  MHD_destroy_response(response);
  return result;
}

MHD_Result Refuse(Shared& shared, MHD_Connection* connection, int status, const char* reason) {
  if (shared.log) shared.log->Refused(ClientAddress(connection, shared.trust_proxy), reason);
  return Answer(shared, connection,
                {status, "text/plain; charset=utf-8", std::string(reason) + "\n"});
}

// The first call for a request, with its head whole: the refusals that need no body.
MHD_Result Begin(Shared& shared, ConnectionState& state, MHD_Connection* connection,
                 const char* url, const char* method, const char* version) {
  const auto* head = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_REQUEST_HEADER_SIZE);
  if (head != nullptr && head->header_size > kMaxRequestBytes) {
    const std::size_t line =
        std::strlen(method) + 1 + state.target_bytes + 1 + std::strlen(version);
    return line > kMaxRequestBytes ? Refuse(shared, connection, 414, "request target too long")
                                   : Refuse(shared, connection, 431, "request headers too long");
  }
  if (std::strcmp(version, MHD_HTTP_VERSION_1_1) == 0 &&
      MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_HOST) == nullptr)
    return Refuse(shared, connection, 400, "no Host");

  const char* length =
      MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
  const bool chunked = MHD_lookup_connection_value(connection, MHD_HEADER_KIND,
                                                   MHD_HTTP_HEADER_TRANSFER_ENCODING) != nullptr;
  const bool has_body = chunked || (length != nullptr && std::strcmp(length, "0") != 0);
  if (!has_body) return MHD_YES;
  // Bodies beyond the route's limit, or on routes that take none, are refused before any of
  // them is read.
  const std::size_t limit = shared.handler.BodyLimit(method, url);
  if (limit > 0 && length != nullptr) {
    const std::string_view text = length;
    std::size_t declared = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), declared);
    if (error != std::errc() || end != text.data() + text.size()) declared = limit + 1;
    if (declared > limit) return Refuse(shared, connection, 413, "body too long");
  }
  if (limit == 0) return Refuse(shared, connection, 413, "body too long");
  state.body_limit = limit;
  return MHD_YES;
}

MHD_Result OnRequest(void* cls, MHD_Connection* connection, const char* url, const char* method,
                     const char* version, const char* upload_data, size_t* upload_data_size,
                     void** con_cls) {
  auto& shared = *static_cast<Shared*>(cls);
  ConnectionState* state = StateOf(connection);
  if (state == nullptr) return MHD_NO;
  if (*con_cls == nullptr) {
    *con_cls = connection;
    return Begin(shared, *state, connection, url, method, version);
  }
  if (*upload_data_size != 0) {
    // The library cannot answer in the middle of a body: one that grows too long is dropped
    // as it comes and refused at its end, or cut by the deadline.
    if (!state->body_too_long && state->body.size() + *upload_data_size <= state->body_limit) {
      state->body.append(upload_data, *upload_data_size);
    } else if (!state->body_too_long) {
      state->body_too_long = true;
      std::string().swap(state->body);
    }
    *upload_data_size = 0;
    return MHD_YES;
  }
  if (state->body_too_long) return Refuse(shared, connection, 413, "body too long");
  shared.watch.StopDeadline(state->id);
  Request request;
  request.method = method;
  request.path = url;
  request.address = ClientAddress(connection, shared.trust_proxy);
  request.limit_key = LimitKey(request.address);
  request.body = std::move(state->body);
  MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, &CollectArg, &request.args);
  return Answer(shared, connection, shared.handler.Handle(request));
}

// Called with the raw request target once the request line is in: a new request begins.
void* OnRequestLine(void*, const char* uri, MHD_Connection* connection) {
  if (ConnectionState* state = StateOf(connection)) {
    state->target_bytes = std::strlen(uri);
    state->body_limit = 0;
    state->body_too_long = false;
    state->body.clear();
  }
  return nullptr;
}

// The answer has been sent: the next request must arrive within the deadline.
void OnCompleted(void* cls, MHD_Connection* connection, void**, MHD_RequestTerminationCode) {
  if (ConnectionState* state = StateOf(connection))
    static_cast<Shared*>(cls)->watch.StartDeadline(state->id);
}

// The library reports a connection's end before it closes the socket.
void OnConnection(void* cls, MHD_Connection* connection, void** socket_context,
                  MHD_ConnectionNotificationCode code) {
  auto& shared = *static_cast<Shared*>(cls);
  if (code == MHD_CONNECTION_NOTIFY_STARTED) {
    const auto* fd = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
    auto* state = new ConnectionState;
    state->id = shared.watch.Started(fd ? fd->connect_fd : -1, PeerOf(connection));
    *socket_context = state;
    return;
  }
  auto* state = static_cast<ConnectionState*>(*socket_context);
  if (state == nullptr) return;
  shared.watch.Closed(state->id);
  delete state;
  *socket_context = nullptr;
}

MHD_Result OnAccept(void* cls, const sockaddr* address, socklen_t) {
  return static_cast<Shared*>(cls)->watch.Admit(address) ? MHD_YES : MHD_NO;
}

void OnLibraryMessage(void* cls, const char* format, va_list args) {
  if (!static_cast<Shared*>(cls)->starting) return;
  std::fputs("trakvolt-scores: ", stderr);
  std::vfprintf(stderr, format, args);
}

// The address to listen on: an IPv4 or IPv6 literal, or a host name's first address.
struct ListenAddress {
  sockaddr_storage storage{};
  bool ipv6 = false;
  bool any = false;  // "::": IPv6 and IPv4 both
};

ListenAddress Resolve(const std::string& host, std::uint16_t port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
    throw std::runtime_error("cannot resolve listen address " + host);
  ListenAddress a;
  std::memcpy(&a.storage, found->ai_addr,
              std::min<std::size_t>(found->ai_addrlen, sizeof a.storage));
  freeaddrinfo(found);
  if (a.storage.ss_family == AF_INET6) {
    auto& v6 = reinterpret_cast<sockaddr_in6&>(a.storage);
    v6.sin6_port = htons(port);
    a.ipv6 = true;
    a.any = IN6_IS_ADDR_UNSPECIFIED(&v6.sin6_addr);
  } else {
    reinterpret_cast<sockaddr_in&>(a.storage).sin_port = htons(port);
  }
  return a;
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

HttpServer::HttpServer(const ServerOptions& options, RequestHandler& handler, RefusalLog* log)
    : shared_(new Shared{handler, options.trust_proxy, log,
                         ConnectionWatch({static_cast<unsigned>(options.max_connections_per_ip),
                                          std::chrono::seconds(options.request_deadline_seconds),
                                          options.trust_proxy},
                                         log)}) {
  ListenAddress address = Resolve(options.listen_host, options.listen_port);
  unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_AUTO | MHD_USE_ERROR_LOG |
                   MHD_USE_ITC;  // without it, stopping waits on threads full of connections
  if (address.ipv6) flags |= address.any ? MHD_USE_DUAL_STACK : MHD_USE_IPv6;
  Shared* shared = shared_.get();
  const auto call = [](auto function) { return reinterpret_cast<intptr_t>(function); };
  std::vector<MHD_OptionItem> settings = {
      {MHD_OPTION_EXTERNAL_LOGGER, call(&OnLibraryMessage), shared},
      {MHD_OPTION_SOCK_ADDR, 0, &address.storage},
      // The total is the library's: a connection beyond it waits in the listen queue and is
      // taken, in turn, as soon as another ends.
      {MHD_OPTION_CONNECTION_LIMIT, ConnectionCap(options.max_connections), nullptr},
      {MHD_OPTION_CONNECTION_TIMEOUT, options.connection_timeout_seconds, nullptr},
      {MHD_OPTION_CONNECTION_MEMORY_LIMIT, 2 * kMaxRequestBytes, nullptr},
      {MHD_OPTION_NOTIFY_CONNECTION, call(&OnConnection), shared},
      {MHD_OPTION_NOTIFY_COMPLETED, call(&OnCompleted), shared},
      {MHD_OPTION_URI_LOG_CALLBACK, call(&OnRequestLine), shared},
  };
  if (options.threads > 1)
    settings.push_back({MHD_OPTION_THREAD_POOL_SIZE, options.threads, nullptr});
  settings.push_back({MHD_OPTION_END, 0, nullptr});
  daemon_ = MHD_start_daemon(flags, options.listen_port, &OnAccept, shared, &OnRequest, shared,
                             MHD_OPTION_ARRAY, settings.data(), MHD_OPTION_END);
  if (daemon_ == nullptr)
    throw std::runtime_error("cannot listen on " + options.listen_host + ":" +
                             std::to_string(options.listen_port));
  shared_->starting = false;
  const auto* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
  port_ = info ? info->port : options.listen_port;
}

HttpServer::~HttpServer() { MHD_stop_daemon(daemon_); }

}  // namespace trakvolt::server
