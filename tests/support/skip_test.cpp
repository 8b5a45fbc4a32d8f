// Cases for skip_test.sh, which runs them with and without CI=true: a test that cannot run here
// is skipped, whether its body finds out or its fixture while being built, and nothing after
// the skip runs; under CI=true each fails instead.
#include "support/skip.h"

#include <gtest/gtest.h>

#include <memory>

namespace trakvolt::testing_support {
namespace {

TEST(ScriptOnlySkip, InTheBody) {
  SkipTest("nothing to test with");
  ADD_FAILURE() << "the test went on after its skip";
}

// Like the game fixtures: a member that cannot be had, then one that would crash the program
// were it built without the first.
class ScriptOnlySkipInAFixture : public testing::Test {
 protected:
  struct Missing {
    Missing() { SkipTest("no game data here", "the normal build makes it"); }
  };
  Missing missing;
  std::unique_ptr<int> value;
  int used = *value;
};

TEST_F(ScriptOnlySkipInAFixture, WhileItIsBuilt) {
  ADD_FAILURE() << "the test ran without its fixture: " << used;
}

}  // namespace
}  // namespace trakvolt::testing_support
