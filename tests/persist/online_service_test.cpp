// Sending a result: the availability check, P, the submission and its failures.
#include "persist/online_service.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "persist/score_payload.h"
#include "platform/platform.h"

using namespace trakvolt;

namespace {

// A server played by the test: the check's answer (or a failure), the submission's answer
// ("OK" once stored, as the score server says it), and every URL asked for.
struct FakeServer {
  explicit FakeServer(std::string answer, bool check_fails_ = false, bool submit_fails_ = false)
      : check_answer(std::move(answer)), check_fails(check_fails_), submit_fails(submit_fails_) {}
  std::string check_answer;
  bool check_fails;
  bool submit_fails;
  std::string submit_answer = "OK";
  bool submit_error_status = false;  // the submission is answered with an error status
  std::vector<std::string> urls;
  FetchUrl Fetch() {
    return [this](const std::string& url) -> std::string {
      urls.push_back(url);
      const bool check = urls.size() == 1;
      if (check ? check_fails : submit_fails) throw std::runtime_error("no connection");
      if (!check && submit_error_status) throw platform::HttpStatusError("error status", 503);
      return check ? check_answer : submit_answer;
    };
  }
  // The payload of the submission, decoded.
  ScoreSubmission Sent() const {
    const std::string prefix = SubmissionUrl("srv:1", "");
    EXPECT_EQ(urls.at(1).substr(0, prefix.size()), prefix);
    return *ParseScorePayload(*DecodeScorePayload(urls.at(1).substr(prefix.size())));
  }
};

TEST(OnlineService, AddressesAreMadeFromTheOneServer) {
  EXPECT_EQ(AvailabilityUrl("h:1"), "http://h:1/cgi/version.pl?version&prg=Trakvolt");
  EXPECT_EQ(SubmissionUrl("h:1", "QW"), "http://h:1/cgi/version.pl?hs&prg=Trakvolt&inf=QW");
  EXPECT_EQ(OnlineTableUrl("h:1"), "http://h:1/cgi/version.pl?prg=Trakvolt&show&type=0");
  EXPECT_EQ(WebsiteUrl("h:1"), "http://h:1/");
  EXPECT_EQ(DefaultScoreServer(), "127.0.0.1:8642");
}

TEST(OnlineService, SendsTheResultWithTheServersValue) {
  const struct {
    const char* answer;
    const char* p;
  } cases[] = {{"OK|1|2|3|4|5", "4"}, {"OK", ""}, {"OKAY|a|b|c|d|e", "d"}, {"OK|||||", ""}};
  for (const auto& c : cases) {
    FakeServer server{c.answer};
    EXPECT_EQ(SendResults(server.Fetch(), "srv:1", "\xC8\xC2\xC0\xCD", 1500, ""),
              SendOutcome::Sent);
    ASSERT_EQ(server.urls.size(), 2u) << c.answer;
    EXPECT_EQ(server.urls[0], AvailabilityUrl("srv:1"));
    const ScoreSubmission sent = server.Sent();
    EXPECT_EQ(sent.p, c.p) << c.answer;
    EXPECT_EQ(sent.name, "\xC8\xC2\xC0\xCD");
    EXPECT_EQ(sent.score, 1500);
    EXPECT_EQ(sent.country, "");
    EXPECT_EQ(sent.key, kScoreKey);
  }
}

TEST(OnlineService, NoOkAnswerSendsNothing) {
  for (const char* answer : {"", "ok|1|2|3|4", " OK", "ERROR|OK"}) {
    FakeServer server{answer};
    EXPECT_EQ(SendResults(server.Fetch(), "srv:1", "A", 1, "B"), SendOutcome::NoConnection);
    EXPECT_EQ(server.urls.size(), 1u) << answer;
  }
  FakeServer unreachable{"OK", true};
  EXPECT_EQ(SendResults(unreachable.Fetch(), "srv:1", "A", 1, "B"), SendOutcome::NoConnection);
  EXPECT_EQ(unreachable.urls.size(), 1u);
}

TEST(OnlineService, ServerValueLongerThan64BytesIsAFailedCheck) {
  FakeServer at_limit{"OK|1|2|3|" + std::string(64, 'p') + "|"};
  EXPECT_EQ(SendResults(at_limit.Fetch(), "srv:1", "A", 1, ""), SendOutcome::Sent);
  EXPECT_EQ(at_limit.Sent().p, std::string(64, 'p'));
  FakeServer over{"OK|1|2|3|" + std::string(65, 'p') + "|"};
  EXPECT_EQ(SendResults(over.Fetch(), "srv:1", "A", 1, ""), SendOutcome::NoConnection);
  EXPECT_EQ(over.urls.size(), 1u);
}

TEST(OnlineService, OnlyAnOkAnswerToTheSubmissionIsAStoredResult) {
  const struct {
    const char* answer;
    bool error_status;
    SendOutcome outcome;
  } cases[] = {
      {"OK", false, SendOutcome::Sent},
      {"OK\n", false, SendOutcome::Sent},
      {"", false, SendOutcome::Refused},
      {"unknown token\n", false, SendOutcome::Refused},
      {"ok", false, SendOutcome::Refused},
      {"OK", true, SendOutcome::Refused},  // an error status, whatever its text
  };
  for (const auto& c : cases) {
    FakeServer server{"OK|1|2|3|4|5"};
    server.submit_answer = c.answer;
    server.submit_error_status = c.error_status;
    EXPECT_EQ(SendResults(server.Fetch(), "srv:1", "A", 1, ""), c.outcome)
        << c.answer << (c.error_status ? " (error status)" : "");
    EXPECT_EQ(server.urls.size(), 2u);
  }
}

TEST(OnlineService, FailedSubmissionIsReportedButNotAnError) {
  FakeServer server{"OK", false, true};
  EXPECT_EQ(SendResults(server.Fetch(), "srv:1", "A", 1, ""), SendOutcome::SubmitFailed);
  EXPECT_EQ(server.urls.size(), 2u);
}

}  // namespace
