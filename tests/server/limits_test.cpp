// The abuse limits: request rates per address, unused tokens per address (the oldest dropped),
// connections per address, idle connections, request bodies.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

#include "server_fixture.h"

namespace trakvolt::server::testing {
namespace {

const std::string kCheck = "/cgi/version.pl?version&prg=Trakvolt";

// A TCP connection to the server that sends nothing until told.
class RawConnection {
 public:
  explicit RawConnection(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  }
  ~RawConnection() { ::close(fd_); }
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;
  bool Connected() const { return connected_; }
  void Send(const std::string& text) {
    EXPECT_EQ(::send(fd_, text.data(), text.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(text.size()));
  }
  // Everything the server sends until it closes, waiting at most `ms`; `closed` tells whether
  // it did close.
  std::string ReadUntilClosed(int ms, bool& closed) {
    std::string got;
    closed = false;
    pollfd p{fd_, POLLIN, 0};
    while (::poll(&p, 1, ms) > 0) {
      char buf[4096];
      const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
      if (n <= 0) {
        closed = true;
        break;
      }
      got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
  }

 private:
  int fd_;
  bool connected_ = false;
};

TEST_F(ScoreServerTest, ChecksBeyondTheRateAreRefusedUntilTheBucketRefills) {
  options.check_rate = 60;  // one a second
  options.check_burst = 3;
  Start();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Get(kCheck).status, 200);
  EXPECT_EQ(Get(kCheck).status, 429);
  AdvanceSeconds(1);
  EXPECT_EQ(Get(kCheck).status, 200);
  EXPECT_EQ(Get(kCheck).status, 429);
}

TEST_F(ScoreServerTest, SubmissionsBeyondTheRateAreRefusedAndStoreNothing) {
  options.submit_rate = 60;
  options.submit_burst = 2;
  Start();
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(SubmitPayload(BuildScorePayload({"ACE", i, kScoreKey, Token(), ""})).status, 200);
  const std::string token = Token();
  const std::string payload = BuildScorePayload({"ACE", 9, kScoreKey, token, ""});
  EXPECT_EQ(SubmitPayload(payload).status, 429);
  EXPECT_EQ(store->Count(), 2);
  AdvanceSeconds(1);
  EXPECT_EQ(SubmitPayload(payload).status, 200);  // the refused request did not use the token
}

TEST_F(ScoreServerTest, UnusedTokensPerAddressAreCappedByDroppingTheOldest) {
  options.tokens_per_address = 3;
  Start();
  // A busy shared address is never refused a token: the fourth pushes out the first.
  std::vector<std::string> tokens;
  for (int i = 0; i < 4; ++i) {
    tokens.push_back(Token());
    AdvanceSeconds(1);
  }
  EXPECT_EQ(SubmitPayload(BuildScorePayload({"ACE", 1, kScoreKey, tokens[0], ""})).status, 403);
  for (int i = 1; i < 4; ++i)
    EXPECT_EQ(SubmitPayload(BuildScorePayload({"ACE", i, kScoreKey, tokens[i], ""})).status, 200);
}

// Two silent connections fill the server's room; the third is closed or left waiting,
// unanswered, while the two still get their answers.
void ExpectThirdConnectionRefused(const std::string& host, std::uint16_t port) {
  RawConnection a(port), b(port);
  ASSERT_TRUE(a.Connected() && b.Connected());
  EXPECT_EQ(HttpGet("http://" + host + kCheck, 1000).status, 0);
  a.Send("GET /health HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  bool closed = false;
  EXPECT_TRUE(a.ReadUntilClosed(5000, closed).starts_with("HTTP/1.1 200"));
  EXPECT_TRUE(closed);
}

TEST_F(ScoreServerTest, ConnectionsPerAddressAreCapped) {
  options.max_connections_per_ip = 2;
  options.threads = 1;
  Start();
  ExpectThirdConnectionRefused(Host(), server->Port());
}

TEST_F(ScoreServerTest, ConnectionsInAllAreCapped) {
  options.max_connections = 2;
  options.max_connections_per_ip = 0;
  options.threads = 1;
  Start();
  ExpectThirdConnectionRefused(Host(), server->Port());
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

namespace trakvolt::server::testing {
namespace {

// The status of an availability check sent with the given X-Forwarded-For header.
int CheckForwardedFor(std::uint16_t port, const std::string& forwarded) {
  RawConnection c(port);
  c.Send("GET " + kCheck +
         " HTTP/1.1\r\nHost: x\r\nConnection: close\r\nX-Forwarded-For: " + forwarded + "\r\n\r\n");
  bool closed = false;
  const std::string answer = c.ReadUntilClosed(5000, closed);
  return answer.size() > 12 ? std::stoi(answer.substr(9, 3)) : 0;
}

TEST_F(ScoreServerTest, BehindATrustedProxyEachForwardedAddressHasItsOwnLimit) {
  options.check_rate = 60;
  options.check_burst = 1;
  options.trust_proxy = true;
  Start();
  EXPECT_EQ(CheckForwardedFor(server->Port(), "203.0.113.5"), 200);
  EXPECT_EQ(CheckForwardedFor(server->Port(), "203.0.113.5"), 429);
  // Only the last entry, the one the proxy added, counts: a client cannot pick its own.
  EXPECT_EQ(CheckForwardedFor(server->Port(), "198.51.100.1, 203.0.113.5"), 429);
  EXPECT_EQ(CheckForwardedFor(server->Port(), "203.0.113.6"), 200);
}

TEST_F(ScoreServerTest, WithoutTrustTheForwardedHeaderIsIgnored) {
  options.check_rate = 60;
  options.check_burst = 1;
  Start();
  EXPECT_EQ(CheckForwardedFor(server->Port(), "203.0.113.5"), 200);
  EXPECT_EQ(CheckForwardedFor(server->Port(), "203.0.113.6"), 429);
}

}  // namespace
}  // namespace trakvolt::server::testing
