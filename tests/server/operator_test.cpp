// The operator's jobs: list the results with ids and addresses, remove one, back up the file.
#include <gtest/gtest.h>

#include <sstream>

#include "operator_jobs.h"
#include "server_fixture.h"

namespace trakvolt::server::testing {
namespace {

struct JobResult {
  int status;
  std::string out, err;
};

JobResult RunJob(ServerOptions options, ScoreStore& store) {
  std::ostringstream out, err;
  const int status = RunOperatorJob(options, store, out, err);
  return {status, out.str(), err.str()};
}

TEST_F(ScoreServerTest, TheOperatorListsAndRemovesResults) {
  Start();
  ASSERT_EQ(store->Submit(Token(), {0, "GOOD", 50, "LATVIA", 0, ""}, "203.0.113.5", 1800000000),
            SubmitOutcome::Stored);
  ASSERT_EQ(store->Submit(Token(), {0, "RUDE\x01", 90, "", 0, ""}, "2001:db8::7", 1800000060),
            SubmitOutcome::Stored);
  ServerOptions job = options;
  job.command = ServerCommand::List;
  const JobResult list = RunJob(job, *store);
  EXPECT_EQ(list.status, 0) << list.err;
  // The best first, with the id to remove it by and the address it came from.
  const auto rude = list.out.find("\t90\t2027-01-15 08:01\t2001:db8::7\tRUDE\xEF\xBF\xBD\t\n");
  const auto good = list.out.find("\t50\t2027-01-15 08:00\t203.0.113.5\tGOOD\tLATVIA\n");
  ASSERT_NE(rude, std::string::npos) << list.out;
  ASSERT_NE(good, std::string::npos) << list.out;
  EXPECT_LT(rude, good);
  const std::string rude_id =
      list.out.substr(list.out.rfind('\n', rude) + 1, rude - list.out.rfind('\n', rude) - 1);

  job.list_country = "latvia";
  EXPECT_EQ(RunJob(job, *store).out.find("RUDE"), std::string::npos);

  job.command = ServerCommand::Remove;
  job.remove_id = std::stoll(rude_id);
  EXPECT_EQ(RunJob(job, *store).status, 0);
  EXPECT_EQ(store->Count(), 1);
  const JobResult again = RunJob(job, *store);
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("no result with id " + rude_id), std::string::npos);
  EXPECT_EQ(store->Count(), 1);
}

TEST_F(ScoreServerTest, TheOperatorBacksUpALiveDatabase) {
  if (db.starts_with("postgresql://")) GTEST_SKIP() << "PostgreSQL is backed up with pg_dump";
  Start();
  ASSERT_EQ(store->Submit(Token(), {0, "KEPT", 50, "", 0, ""}, "203.0.113.5", 1800000000),
            SubmitOutcome::Stored);
  ServerOptions job = options;
  job.command = ServerCommand::Backup;
  job.backup_path = (dir / "copy.db").string();
  EXPECT_EQ(RunJob(job, *store).status, 0);
  const auto copy = OpenScoreStore(job.backup_path);
  const auto rows = copy->Top(10, "");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].name, "KEPT");
  // An existing file is never written over.
  const JobResult twice = RunJob(job, *store);
  EXPECT_EQ(twice.status, 1);
  EXPECT_FALSE(twice.err.empty());
}

}  // namespace
}  // namespace trakvolt::server::testing
