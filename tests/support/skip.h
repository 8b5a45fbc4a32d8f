// How a test says it cannot run here. Under CI=true everything a test needs is there
// (scripts/setup.sh installs the tools, the normal build makes the game data), so a skip would
// only hide a test that never ran: there it fails instead.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace trakvolt::testing_support {

inline bool UnderCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::string_view(ci) == "true";
}

// Skips the running test, saying why (under CI=true: fails it, naming the remedy), and leaves
// at once. Works in a test body, in SetUp and in a fixture's constructor alike: gtest takes the
// AssertionException as "already reported", and a fixture left half built never runs its test.
[[noreturn]] inline void SkipTest(const std::string& why,
                                  const std::string& remedy = "scripts/setup.sh installs it") {
  const bool fail = UnderCi();
  const std::string message = fail ? "FAIL: " + why + " (CI=true: " + remedy + ")" : why;
  // Fatal, not ADD_FAILURE: gtest goes on to run a test whose constructor threw (through the
  // null fixture) unless the test failed fatally or skipped.
  if (fail)
    [&] { FAIL() << message; }();
  else
    [&] { GTEST_SKIP() << message; }();
  throw testing::AssertionException(testing::TestPartResult(
      fail ? testing::TestPartResult::kFatalFailure : testing::TestPartResult::kSkip, __FILE__,
      __LINE__, message.c_str()));
}

}  // namespace trakvolt::testing_support
