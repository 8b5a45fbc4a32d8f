// The HTTP client against real servers on the loopback interface.
#include <gtest/gtest.h>

#include "base/game_error.h"
#include "platform/curl_http_client.h"
#include "support/loopback_server.h"

using namespace trakvolt;
using platform::CurlHttpClient;
using platform::HttpLimits;
using testing_support::LoopbackServer;

namespace {

LoopbackServer::Reply Body(std::string body) {
  LoopbackServer::Reply r;
  r.body = std::move(body);
  return r;
}

TEST(HttpClient, GetsTheBodyWithTheGamesHeaders) {
  LoopbackServer server([](const auto&) { return Body("OK|1|2"); });
  CurlHttpClient http;
  EXPECT_EQ(http.Get(server.Url("/cgi/version.pl?version&prg=Trakvolt")), "OK|1|2");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, "/cgi/version.pl?version&prg=Trakvolt");
  EXPECT_EQ(requests[0].Header("Accept"), "text/html, */*");
  EXPECT_EQ(requests[0].Header("Content-Type"), "text/html");
  EXPECT_EQ(requests[0].Header("User-Agent"), "Mozilla/3.0 (compatible; Trakvolt)");
}

TEST(HttpClient, KeepsCookiesBetweenRequests) {
  LoopbackServer server([](const auto&) {
    auto r = Body("x");
    r.extra_headers = "Set-Cookie: session=42; Path=/\r\n";
    return r;
  });
  CurlHttpClient http;
  http.Get(server.Url("/a"));
  http.Get(server.Url("/b"));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].Header("Cookie"), "");
  EXPECT_EQ(requests[1].Header("Cookie"), "session=42");
}

TEST(HttpClient, AnswerUpToTheLimitIsTakenWhole) {
  const std::string body(64 * 1024, 'a');
  LoopbackServer server([&](const auto&) { return Body(body); });
  CurlHttpClient http;
  EXPECT_EQ(http.Get(server.Url("/")), body);
}

struct FailureCase {
  const char* what;
  LoopbackServer::Reply reply;
};

class HttpFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(HttpFailure, IsThrown) {
  const LoopbackServer::Reply reply = GetParam().reply;
  LoopbackServer server([&](const auto&) { return reply; });
  // Short waits so the silent server is given up quickly.
  CurlHttpClient http(HttpLimits{300, 600, 64 * 1024});
  EXPECT_THROW(http.Get(server.Url("/")), GameError);
  EXPECT_EQ(server.Requests().size(), 1u);
}

LoopbackServer::Reply Status(int status) {
  auto r = Body("OK|error page");
  r.status = status;
  return r;
}
LoopbackServer::Reply Mode(LoopbackServer::Mode mode, std::string body = "OK") {
  auto r = Body(std::move(body));
  r.mode = mode;
  return r;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HttpFailure,
    testing::Values(FailureCase{"not_found", Status(404)}, FailureCase{"server_error", Status(500)},
                    FailureCase{"cut_off", Mode(LoopbackServer::Mode::CutOff)},
                    FailureCase{"silent", Mode(LoopbackServer::Mode::Silent)},
                    FailureCase{"too_long", Mode(LoopbackServer::Mode::Answer,
                                                 std::string(64 * 1024 + 1, 'a'))}),
    [](const auto& c) { return std::string(c.param.what); });

// An error status says the server was reached and answered: it is told apart from the rest.
TEST(HttpClient, AnErrorStatusIsThrownWithItsStatus) {
  for (const int status : {403, 429, 503}) {
    LoopbackServer server([&](const auto&) { return Status(status); });
    CurlHttpClient http(HttpLimits{300, 600, 64 * 1024});
    try {
      http.Get(server.Url("/"));
      ADD_FAILURE() << status << " was not thrown";
    } catch (const platform::HttpStatusError& e) {
      EXPECT_EQ(e.Status(), status);
    }
  }
  LoopbackServer cut([&](const auto&) { return Mode(LoopbackServer::Mode::CutOff); });
  CurlHttpClient http(HttpLimits{300, 600, 64 * 1024});
  try {
    http.Get(cut.Url("/"));
    ADD_FAILURE() << "a cut-off answer was not thrown";
  } catch (const platform::HttpStatusError&) {
    ADD_FAILURE() << "a cut-off answer is no status";
  } catch (const GameError&) {
  }
}

TEST(HttpClient, NoServerOrNoSuchNameIsThrown) {
  int port = 0;
  {
    LoopbackServer gone([](const auto&) { return Body(""); });
    port = std::stoi(gone.Address().substr(10));
  }  // closed: the port now refuses
  CurlHttpClient http(HttpLimits{300, 600, 1024});
  EXPECT_THROW(http.Get("http://127.0.0.1:" + std::to_string(port) + "/"), GameError);
  EXPECT_THROW(http.Get("http://no-such-host.invalid/"), GameError);
  EXPECT_THROW(http.Get("not a url"), GameError);
}

}  // namespace
