// The HTTP side against slow and crafty clients: connection caps per client key and in all,
// request deadlines that a trickling client cannot dodge, the head and body limits, the Host
// rule, HEAD, response headers, IPv6, and the limits' key itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "client_key.h"
#include "raw_connection.h"
#include "refusal_log.h"
#include "server_fixture.h"

namespace trakvolt::server::testing {
namespace {

using namespace std::chrono_literals;

const std::string kClose = "Host: x\r\nConnection: close\r\n\r\n";

// Answers "fine" everywhere; /echo takes a POST body of up to 1000 bytes and sends it back,
// /who tells the client's address and key, /cached sets headers of its own.
class EchoHandler final : public RequestHandler {
 public:
  Response Handle(const Request& request) override {
    ++handled;
    if (request.path == "/echo") return {200, "application/octet-stream", request.body};
    if (request.path == "/who")
      return {200, "text/plain", request.address + " " + request.limit_key};
    Response r(200, "text/plain; charset=utf-8", "fine\n");
    if (request.path == "/cached") r.headers = {{"cache-control", "max-age=60"}, {"Allow", "GET"}};
    return r;
  }
  std::size_t BodyLimit(const std::string& method, const std::string& path) const override {
    return method == "POST" && path == "/echo" ? 1000 : 0;
  }
  std::atomic<int> handled{0};
};

class HttpSideTest : public ::testing::Test {
 protected:
  HttpSideTest() { options.listen_port = 0; }
  void Start() { server = std::make_unique<HttpServer>(options, handler, &log); }
  std::uint16_t Port() const { return server->Port(); }
  std::string Url(const std::string& target) const {
    return "http://127.0.0.1:" + std::to_string(Port()) + target;
  }
  bool Logged(const std::string& reason) {
    std::lock_guard lock(mutex);
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.ends_with(": " + reason); });
  }

  ServerOptions options;
  EchoHandler handler;
  std::mutex mutex;
  std::vector<std::string> lines;
  RefusalLog log{[this](const std::string& line) {
                   std::lock_guard lock(mutex);
                   lines.push_back(line);
                 },
                 SystemClockMs, 1000};
  std::unique_ptr<HttpServer> server;
};

TEST(LimitKey, IsTheIpv4AddressOrTheIpv6Network) {
  const struct {
    const char* address;
    const char* key;  // empty: not an address
  } cases[] = {
      {"203.0.113.5", "203.0.113.5"},
      {"::ffff:203.0.113.5", "203.0.113.5"},
      {"::FFFF:cb00:7105", "203.0.113.5"},
      {"2001:db8:1:2:3:4:5:6", "2001:db8:1:2::/64"},
      {"2001:0DB8:0001:0002:0000:0000:0000:0001", "2001:db8:1:2::/64"},
      {"2001:db8:1:2::", "2001:db8:1:2::/64"},
      {"2001:db8:1:2:ffff::", "2001:db8:1:2::/64"},
      {"2001:db8::1", "2001:db8::/64"},
      {"::1", "::/64"},
      {"", ""},
      {"unknown", ""},
      {"203.0.113", ""},
      {"203.0.113.256", ""},
      {" 203.0.113.5", ""},
      {"203.0.113.5:80", ""},
      {"fe80::1%eth0", ""},
      {"2001:db8::/64", ""},
      {"2001:db8:1:2:3:4:5:6:7", ""},
      {"[2001:db8::1]", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(LimitKey(c.address), c.key) << c.address;
}

// Clients on 127.0.0.2 and up that hold their connections by sending one header byte a
// second, never going idle, and reconnect at once when the server closes one.
class Slowloris {
 public:
  Slowloris(std::uint16_t port, int addresses, int per_address)
      : thread_([this, port, addresses, per_address] { Run(port, addresses, per_address); }) {}
  ~Slowloris() {
    stop_ = true;
    thread_.join();
  }

 private:
  void Run(std::uint16_t port, int addresses, int per_address) {
    struct Held {
      std::string source;
      std::unique_ptr<RawConnection> connection;
      std::size_t sent = 0;
    };
    std::vector<Held> held;
    for (int a = 0; a < addresses; ++a)
      for (int i = 0; i < per_address; ++i)
        held.push_back({"127.0.0." + std::to_string(2 + a), nullptr, 0});
    const std::string head = "GET / HTTP/1.1\r\nHost: x\r\nX-Pad: " + std::string(1000, 'a');
    for (int round = 0; !stop_; ++round) {
      for (Held& h : held) {
        if (stop_) break;
        if (!h.connection || h.connection->ClosedByServer()) {
          h.connection = std::make_unique<RawConnection>(port, h.source);
          h.sent = 0;
        }
        if (h.sent == 0 || round % 10 == 0) h.connection->TrySend(head.substr(h.sent++, 1));
      }
      std::this_thread::sleep_for(100ms);
    }
  }

  std::atomic<bool> stop_{false};
  std::thread thread_;
};

TEST_F(HttpSideTest, AnHonestClientIsAnsweredWhileAttackersTrickleOnEveryConnection) {
  options.request_deadline_seconds = 2;
  options.connection_timeout_seconds = 10;
  options.max_connections = 256;  // fewer than the 17 x 16 the attackers hold open
  Start();
  Slowloris attack(Port(), 17, 16);
  std::this_thread::sleep_for(1500ms);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(HttpGet(Url("/"), 5000).status, 200) << "request " << i;
    std::this_thread::sleep_for(500ms);
  }
  EXPECT_TRUE(Logged("request deadline passed"));
}

TEST_F(HttpSideTest, AConnectionTricklingItsRequestIsClosedAtTheDeadline) {
  options.request_deadline_seconds = 2;
  options.connection_timeout_seconds = 10;
  Start();
  const struct {
    const char* what;
    std::string start;
    std::string byte;
  } cases[] = {
      {"head", "GET / HTTP/1.1\r\nHost: x\r\nX-Pad: ", "a"},
      {"body", "POST /echo HTTP/1.1\r\nHost: x\r\nContent-Length: 1000\r\n\r\n", "b"},
  };
  for (const auto& c : cases) {
    RawConnection slow(Port());
    ASSERT_TRUE(slow.Connected());
    slow.Send(c.start);
    bool closed = false;
    for (int i = 0; i < 40 && !closed; ++i) {  // 8 s of one byte every 200 ms
      std::this_thread::sleep_for(200ms);
      closed = !slow.TrySend(c.byte) || slow.ClosedByServer();
    }
    EXPECT_TRUE(closed) << c.what;
  }
  EXPECT_TRUE(Logged("request deadline passed"));
  EXPECT_EQ(handler.handled, 0);
}

TEST_F(HttpSideTest, EachKeptAliveRequestHasTheDeadlineFromThePreviousAnswer) {
  options.request_deadline_seconds = 2;
  Start();
  RawConnection c(Port());
  ASSERT_TRUE(c.Connected());
  // Two requests, each 1.2 s after the last answer: the second comes after the first
  // request's deadline.
  for (int i = 0; i < 2; ++i) {
    std::this_thread::sleep_for(1200ms);
    c.Send("GET / HTTP/1.1\r\nHost: x\r\n\r\n");
    bool closed = false;
    EXPECT_TRUE(c.ReadUntilClosed(300, closed).starts_with("HTTP/1.1 200")) << i;
    ASSERT_FALSE(closed) << i;
  }
  // A third that trickles in is cut by its own deadline.
  c.Send("GET / HTTP/1.1\r\n");
  bool closed = false;
  for (int i = 0; i < 30 && !closed; ++i) {
    std::this_thread::sleep_for(200ms);
    closed = !c.TrySend("X") || c.ClosedByServer();
  }
  EXPECT_TRUE(closed);
}

TEST_F(HttpSideTest, ConnectionsPerAddressAreCapped) {
  options.max_connections_per_ip = 2;
  options.threads = 1;
  Start();
  auto a = std::make_unique<RawConnection>(Port(), "127.0.0.2");
  RawConnection b(Port(), "127.0.0.2");
  ASSERT_TRUE(a->Connected() && b.Connected());
  // A third from the same address is closed or left waiting, unanswered; another address is
  // answered.
  RawConnection third(Port(), "127.0.0.2");
  third.Send("GET / HTTP/1.1\r\n" + kClose);
  bool closed = false;
  EXPECT_EQ(StatusOf(third.ReadUntilClosed(1000, closed)), 0);
  EXPECT_EQ(StatusOf(Exchange(Port(), "GET / HTTP/1.1\r\n" + kClose, "127.0.0.3")), 200);
  EXPECT_TRUE(Logged("connections per address"));
  // A connection that ends gives its place back.
  a->Send("GET / HTTP/1.1\r\n" + kClose);
  EXPECT_EQ(StatusOf(a->ReadUntilClosed(5000, closed)), 200);
  a.reset();
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(StatusOf(Exchange(Port(), "GET / HTTP/1.1\r\n" + kClose, "127.0.0.2")), 200);
}

TEST_F(HttpSideTest, BehindATrustedProxyTheForwardedAddressIsKeyedAndTheProxyUncapped) {
  options.trust_proxy = true;
  options.max_connections_per_ip = 1;
  options.threads = 1;
  Start();
  RawConnection held(Port());  // the proxy's first connection, idle
  ASSERT_TRUE(held.Connected());
  const struct {
    const char* forwarded;
    const char* who;
  } cases[] = {
      {"203.0.113.5", "203.0.113.5 203.0.113.5"},
      {"198.51.100.1, 2001:db8:1:2::5", "2001:db8:1:2::5 2001:db8:1:2::/64"},
      {"::ffff:203.0.113.7", "::ffff:203.0.113.7 203.0.113.7"},
      {"not an address", "127.0.0.1 127.0.0.1"},
  };
  for (const auto& c : cases) {
    const std::string answer =
        Exchange(Port(), "GET /who HTTP/1.1\r\nX-Forwarded-For: " + std::string(c.forwarded) +
                             "\r\n" + kClose);
    EXPECT_EQ(StatusOf(answer), 200) << c.forwarded;
    EXPECT_TRUE(answer.ends_with(std::string("\r\n\r\n") + c.who)) << answer;
  }
}

TEST_F(HttpSideTest, ListensOnIpv6AndOnBothWithTheUnspecifiedAddress) {
  const struct {
    const char* listen;
    const char* host;
    const char* who;
  } cases[] = {
      {"::1", "[::1]", "::1 ::/64"},
      {"::", "[::1]", "::1 ::/64"},
      {"::", "127.0.0.1", "127.0.0.1 127.0.0.1"},
  };
  for (const auto& c : cases) {
    options.listen_host = c.listen;
    Start();
    const HttpAnswer a =
        HttpGet("http://" + std::string(c.host) + ":" + std::to_string(Port()) + "/who");
    EXPECT_EQ(a.status, 200) << c.listen << " " << c.host;
    EXPECT_EQ(a.body, c.who) << c.listen << " " << c.host;
    server.reset();
  }
}

TEST_F(HttpSideTest, Http11WithoutHostIsRefusedBeforeTheHandler) {
  Start();
  const struct {
    std::string request;
    int status;
  } cases[] = {
      {"GET / HTTP/1.1\r\nConnection: close\r\n\r\n", 400},
      {"GET / HTTP/1.0\r\n\r\n", 200},
      {"GET / HTTP/1.1\r\n" + kClose, 200},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StatusOf(Exchange(Port(), c.request)), c.status) << c.request;
  EXPECT_EQ(handler.handled, 2);
  EXPECT_TRUE(Logged("no Host"));
}

// The status line and header lines of a raw answer, less the date, and its body.
std::pair<std::vector<std::string>, std::string> Split(const std::string& answer) {
  const auto end = answer.find("\r\n\r\n");
  std::vector<std::string> lines;
  for (std::size_t at = 0; end != std::string::npos && at < end;) {
    const auto next = answer.find("\r\n", at);
    if (answer.compare(at, 6, "Date: ") != 0) lines.push_back(answer.substr(at, next - at));
    at = next + 2;
  }
  std::sort(lines.begin(), lines.end());
  return {lines, end == std::string::npos ? "" : answer.substr(end + 4)};
}

TEST_F(HttpSideTest, AnswersCarryTheirHeadersAndHeadGetsThemWithoutTheBody) {
  Start();
  const auto [get, get_body] = Split(Exchange(Port(), "GET /cached HTTP/1.1\r\n" + kClose));
  const auto [head, head_body] = Split(Exchange(Port(), "HEAD /cached HTTP/1.1\r\n" + kClose));
  EXPECT_EQ(get_body, "fine\n");
  EXPECT_EQ(head_body, "");
  EXPECT_EQ(head, get);
  const auto has = [](const std::vector<std::string>& all, const std::string& line) {
    return std::find(all.begin(), all.end(), line) != all.end();
  };
  EXPECT_TRUE(has(get, "HTTP/1.1 200 OK"));
  EXPECT_TRUE(has(get, "cache-control: max-age=60"));
  EXPECT_TRUE(has(get, "Allow: GET"));
  EXPECT_FALSE(has(get, "Cache-Control: no-store"));
  const auto [plain, plain_body] = Split(Exchange(Port(), "GET / HTTP/1.1\r\n" + kClose));
  EXPECT_TRUE(has(plain, "Cache-Control: no-store"));
}

// A request whose head is `total` bytes as sent, made long by its target or by a header line.
std::string HeadOf(std::size_t total, bool long_target) {
  const std::string line_start = long_target ? "GET /?" : "GET /";
  const std::string rest = " HTTP/1.1\r\n" + kClose;
  const std::string pad_header = long_target ? "" : "X-Pad: \r\n";
  const std::size_t pad = total - line_start.size() - rest.size() - pad_header.size();
  if (long_target) return line_start + std::string(pad, 'a') + rest;
  return line_start + " HTTP/1.1\r\nX-Pad: " + std::string(pad, 'a') + "\r\n" + kClose;
}

TEST_F(HttpSideTest, TheHeadMayBeEightKibibytesAndNoMore) {
  Start();
  const std::string line_too_long =
      "GET /?" + std::string(kMaxRequestBytes - 14, 'a') + " HTTP/1.1";
  ASSERT_EQ(line_too_long.size(), kMaxRequestBytes + 1);
  const struct {
    const char* what;
    std::string request;
    int status;
  } cases[] = {
      {"long header, at the limit", HeadOf(kMaxRequestBytes, false), 200},
      {"long header, one byte over", HeadOf(kMaxRequestBytes + 1, false), 431},
      {"long target, at the limit", HeadOf(kMaxRequestBytes, true), 200},
      {"long target, one byte over", HeadOf(kMaxRequestBytes + 1, true), 431},
      {"request line one byte over", line_too_long + "\r\n" + kClose, 414},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(c.request.find("\r\n\r\n") + 4 == c.request.size()) << c.what;
    EXPECT_EQ(StatusOf(Exchange(Port(), c.request)), c.status)
        << c.what << " (" << c.request.size() << " bytes)";
  }
  EXPECT_TRUE(Logged("request target too long"));
  EXPECT_TRUE(Logged("request headers too long"));
}

TEST_F(HttpSideTest, BodiesAreTakenUpToTheRoutesLimit) {
  Start();
  const std::string part(500, 'b');
  const std::string chunked = "POST /echo HTTP/1.1\r\nTransfer-Encoding: chunked\r\n" + kClose;
  const struct {
    const char* what;
    std::string request;
    int status;
    std::string echoed;
  } cases[] = {
      {"whole", "POST /echo HTTP/1.1\r\nContent-Length: 1000\r\n" + kClose + part + part, 200,
       part + part},
      {"chunked", chunked + "1f4\r\n" + part + "\r\n1f4\r\n" + part + "\r\n0\r\n\r\n", 200,
       part + part},
      {"declared too long", "POST /echo HTTP/1.1\r\nContent-Length: 1001\r\n" + kClose, 413, ""},
      {"chunked too long", chunked + "1f4\r\n" + part + "\r\n1f5\r\n" + part + "b\r\n0\r\n\r\n",
       413, ""},
      {"on a route without bodies", "POST / HTTP/1.1\r\nContent-Length: 5\r\n" + kClose + "hello",
       413, ""},
  };
  for (const auto& c : cases) {
    const std::string answer = Exchange(Port(), c.request);
    EXPECT_EQ(StatusOf(answer), c.status) << c.what;
    if (c.status == 200) {
      EXPECT_TRUE(answer.ends_with("\r\n\r\n" + c.echoed)) << c.what;
    }
  }
  EXPECT_EQ(handler.handled, 2);
  EXPECT_TRUE(Logged("body too long"));
}

// Two silent connections fill the server's room; the third is closed or left waiting,
// unanswered, while the two still get their answers.
TEST_F(ScoreServerTest, ConnectionsInAllAreCapped) {
  options.max_connections = 2;
  options.max_connections_per_ip = 0;
  options.threads = 1;
  Start();
  RawConnection a(server->Port()), b(server->Port());
  ASSERT_TRUE(a.Connected() && b.Connected());
  EXPECT_EQ(HttpGet(Url("/cgi/version.pl?version&prg=Trakvolt"), 1000).status, 0);
  a.Send("GET /health HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  bool closed = false;
  EXPECT_TRUE(a.ReadUntilClosed(5000, closed).starts_with("HTTP/1.1 200"));
  EXPECT_TRUE(closed);
}

TEST_F(ScoreServerTest, SilentConnectionsAreClosed) {
  options.connection_timeout_seconds = 1;
  Start();
  RawConnection idle(server->Port());
  ASSERT_TRUE(idle.Connected());
  idle.Send("GET /health HTTP/1.1\r\n");  // and never the rest
  bool closed = false;
  idle.ReadUntilClosed(10000, closed);
  EXPECT_TRUE(closed);
}

TEST_F(ScoreServerTest, RequestsWithABodyAreRefusedUnread) {
  Start();
  RawConnection c(server->Port());
  ASSERT_TRUE(c.Connected());
  c.Send(
      "POST /cgi/version.pl?version&prg=Trakvolt HTTP/1.1\r\nHost: x\r\n"
      "Content-Length: 100000000\r\n\r\n");
  bool closed = false;
  EXPECT_TRUE(c.ReadUntilClosed(5000, closed).starts_with("HTTP/1.1 413"));
  EXPECT_EQ(store->Count(), 0);
}

}  // namespace
}  // namespace trakvolt::server::testing
