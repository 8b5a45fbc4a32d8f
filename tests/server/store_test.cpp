// The score stores themselves, over SQLite and PostgreSQL alike: older databases upgraded in
// place, a store that cannot write says so and refuses to open, the oldest unused tokens make
// room, results removed and backed up, reads beside an open write, shared rate buckets.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <linux/capability.h>
#include <sqlite3.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "schema.h"
#include "server_fixture.h"

namespace trakvolt::server::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(TRAKVOLT_FIXTURES).parent_path() / "data";

bool IsPostgres(const std::string& db) { return db.starts_with("postgresql://"); }

// A connection of the test's own to the store's database, past the store.
class RawDb {
 public:
  explicit RawDb(const std::string& db) : postgres_(IsPostgres(db)) {
    if (postgres_) {
      pg_ = PQconnectdb(db.c_str());
      if (PQstatus(pg_) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(pg_));
    } else if (sqlite3_open(db.c_str(), &sqlite_) != SQLITE_OK) {
      throw std::runtime_error(sqlite3_errmsg(sqlite_));
    }
  }
  ~RawDb() {
    if (pg_) PQfinish(pg_);
    if (sqlite_) sqlite3_close(sqlite_);
  }
  RawDb(const RawDb&) = delete;
  RawDb& operator=(const RawDb&) = delete;

  // Every value of every row the statements give, one row a line.
  std::string Run(const std::string& sql, const std::vector<std::string>& params = {}) {
    std::string out;
    if (postgres_) {
      std::vector<const char*> values;
      for (const auto& p : params) values.push_back(p.c_str());
      PGresult* r = params.empty() ? PQexec(pg_, sql.c_str())
                                   : PQexecParams(pg_, sql.c_str(), static_cast<int>(values.size()),
                                                  nullptr, values.data(), nullptr, nullptr, 0);
      const auto status = PQresultStatus(r);
      for (int row = 0; row < PQntuples(r); ++row, out += '\n')
        for (int col = 0; col < PQnfields(r); ++col)
          out += std::string(PQgetvalue(r, row, col)) + ' ';
      PQclear(r);
      if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throw std::runtime_error(PQerrorMessage(pg_));
      return out;
    }
    const char* rest = sql.c_str();
    while (*rest) {
      sqlite3_stmt* stmt = nullptr;
      if (sqlite3_prepare_v2(sqlite_, rest, -1, &stmt, &rest) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(sqlite_));
      if (!stmt) continue;
      for (std::size_t i = 0; i < params.size(); ++i)
        sqlite3_bind_text(stmt, static_cast<int>(i + 1), params[i].c_str(), -1, SQLITE_TRANSIENT);
      int rc;
      while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int col = 0; col < sqlite3_column_count(stmt); ++col) {
          const auto* text = sqlite3_column_text(stmt, col);
          out += std::string(text ? reinterpret_cast<const char*>(text) : "") + ' ';
        }
        out += '\n';
      }
      sqlite3_finalize(stmt);
      if (rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(sqlite_));
    }
    return out;
  }

 private:
  bool postgres_;
  PGconn* pg_ = nullptr;
  sqlite3* sqlite_ = nullptr;
};

std::string Names(const std::vector<ScoreRow>& rows) {
  std::string names;
  for (const ScoreRow& r : rows) names += r.name + ' ';
  return names;
}

// Runs `body` on a thread that file modes stop, as they stop an ordinary user: the tests may
// run as root, whose override of file modes is dropped for that thread alone.
std::string MessageThrownWithoutModeOverride(const std::function<void()>& body) {
  std::string message = "nothing thrown";
  std::thread t([&] {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2]{};
    if (syscall(SYS_capget, &header, caps) == 0) {
      caps[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
      if (syscall(SYS_capset, &header, caps) != 0) message = "cannot drop the mode override";
    }
    try {
      body();
    } catch (const std::exception& e) {
      message = e.what();
    }
  });
  t.join();
  return message;
}

TEST_F(ScoreServerTest, DatabaseMadeBeforeSchemaVersionsIsUpgradedInPlace) {
  const bool pg = IsPostgres(db);
  if (pg)
    RawDb(db).Run((std::stringstream() << std::ifstream(kData / "scores_v1_pg.sql").rdbuf()).str());
  else
    fs::copy_file(kData / "scores_v1.db", db);
  store = OpenScoreStore(db);
  EXPECT_EQ(store->SchemaVersion(), kSchemaVersion);
  EXPECT_EQ(store->Count(), 5);
  EXPECT_EQ(Names(store->Top(10, "")), "MAX ИВАН ACE BOB ZED ");
  const auto latvia = store->Top(10, "LATVIA");
  EXPECT_EQ(Names(latvia), "ACE ZED ");
  ASSERT_FALSE(latvia.empty());
  EXPECT_EQ(latvia[0].address, "127.0.0.1");
  // The tokens left unused are still good for one submission each.
  const std::string left =
      pg ? "8615ea1acd71b4fb16d94fec4c11a0ad" : "90217b18cf81b646d91e7cdfb1df40ae";
  const std::int64_t before_expiry = 1797006000;
  EXPECT_TRUE(store->TokenValid(left, before_expiry));
  EXPECT_EQ(store->Submit(left, {0, "NEW", 5000, "LATVIA", 0, ""}, "198.51.100.7", before_expiry),
            SubmitOutcome::Stored);
  EXPECT_EQ(store->Top(1, "")[0].id, 6);
  EXPECT_EQ(Names(store->Top(10, "LATVIA")), "NEW ACE ZED ");

  // Each table is served by its index, whatever the planner would pick for a table this small,
  // and whatever country is asked for (PostgreSQL: the plan made once for every value).
  RawDb raw(db);
  if (pg) raw.Run("SET enable_seqscan = off; SET plan_cache_mode = force_generic_plan");
  const struct {
    bool one_country;
    const char* args;
    const char* index;
  } kTables[] = {{true, "'LATVIA', 10", "scores_country"}, {false, "10", "scores_rank"}};
  for (const auto& t : kTables) {
    const char* sql = TopStatement(pg ? SqlDialect::Postgres : SqlDialect::Sqlite, t.one_country);
    std::string plan;
    if (pg) {
      raw.Run(std::string("PREPARE top AS ") + sql);
      plan = raw.Run(std::string("EXPLAIN EXECUTE top(") + t.args + ")");
      raw.Run("DEALLOCATE top");
    } else {
      plan = raw.Run(std::string("EXPLAIN QUERY PLAN ") + sql);
    }
    EXPECT_NE(plan.find(t.index), std::string::npos) << plan;
  }
}

TEST_F(ScoreServerTest, DatabaseFromANewerServerIsRefused) {
  store = OpenScoreStore(db);
  store.reset();
  const std::string newer = std::to_string(kSchemaVersion + 1);
  RawDb(db).Run(IsPostgres(db) ? "UPDATE schema_version SET version = " + newer
                               : "PRAGMA user_version = " + newer);
  try {
    OpenScoreStore(db);
    ADD_FAILURE() << "opened";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("newer than this server"), std::string::npos) << e.what();
  }
}

TEST_F(ScoreServerTest, StoreWhoseFileIsRemovedOrReplacedSaysSoAndStoresNothing) {
  if (IsPostgres(db)) GTEST_SKIP() << "PostgreSQL keeps no file of the server's";
  const struct {
    const char* what;
    void (*fault)(const fs::path&);
  } kFaults[] = {
      {"removed", [](const fs::path& p) { fs::remove(p); }},
      {"replaced",
       [](const fs::path& p) {
         std::ofstream(p.string() + ".new") << "";
         fs::rename(p.string() + ".new", p);
       }},
  };
  for (const auto& f : kFaults) {
    SCOPED_TRACE(f.what);
    const fs::path path = dir / (std::string(f.what) + ".db");
    const auto s = OpenScoreStore(path.string());
    EXPECT_EQ(s->WriteProblem(), "");
    s->IssueToken("0123456789abcdef0123456789abcdef", "127.0.0.1", 100, 700, 10);
    f.fault(path);
    EXPECT_NE(s->WriteProblem().find(f.what), std::string::npos) << s->WriteProblem();
    EXPECT_THROW(
        s->Submit("0123456789abcdef0123456789abcdef", {0, "ACE", 5, "", 0, ""}, "127.0.0.1", 200),
        std::runtime_error);
  }
}

TEST_F(ScoreServerTest, StoreThatCannotWriteRefusesToOpenAndSaysWhy) {
  store = OpenScoreStore(db);
  ASSERT_EQ(store->WriteProblem(), "");
  if (IsPostgres(db)) {
    RawDb raw(db);
    raw.Run(
        "DO $$ BEGIN EXECUTE format('ALTER DATABASE %I SET default_transaction_read_only = on',"
        " current_database()); END $$");
    // The store's connections come back as new sessions, read-only now.
    raw.Run(
        "SELECT pg_terminate_backend(pid, 5000) FROM pg_stat_activity"
        " WHERE datname = current_database() AND pid <> pg_backend_pid()");
    EXPECT_NE(store->WriteProblem().find("read-only"), std::string::npos) << store->WriteProblem();
    EXPECT_THROW(OpenScoreStore(db), std::runtime_error);
    return;
  }
  store.reset();
  fs::permissions(db, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const std::string message = MessageThrownWithoutModeOverride([&] { OpenScoreStore(db); });
  EXPECT_NE(message.find("read-only"), std::string::npos) << message;
}

TEST_F(ScoreServerTest, OldestUnusedTokensOfAKeyMakeRoomForANewOne) {
  store = OpenScoreStore(db);
  const std::int64_t now = 1000, ttl = 600;
  store->IssueToken("other", "198.51.100.7", now, now + ttl, 2);
  for (int i = 0; i < 3; ++i)
    store->IssueToken("t" + std::to_string(i), "203.0.113.5", now + i, now + i + ttl, 2);
  const struct {
    const char* token;
    std::int64_t at;
    bool valid;
  } kCases[] = {{"t0", now + 3, false},  // the oldest, dropped
                {"t1", now + 3, true},        {"t2", now + 3, true},
                {"other", now + 3, true},      // another key's are left alone
                {"t2", now + 2 + ttl, false},  // expired
                {"never", now, false}};
  for (const auto& c : kCases)
    EXPECT_EQ(store->TokenValid(c.token, c.at), c.valid) << c.token << " at " << c.at;
}

TEST_F(ScoreServerTest, ResultsShowTheirAddressAndAreRemovedById) {
  store = OpenScoreStore(db);
  for (const char* t : {"a", "b"}) store->IssueToken(t, "k", 0, 100, 10);
  ASSERT_EQ(store->Submit("a", {0, "ACE", 5, "", 0, ""}, "203.0.113.5", 1), SubmitOutcome::Stored);
  ASSERT_EQ(store->Submit("b", {0, "BOB", 9, "", 0, ""}, "2001:db8::1", 1), SubmitOutcome::Stored);
  const auto rows = store->Top(10, "");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].address, "2001:db8::1");
  EXPECT_EQ(rows[1].address, "203.0.113.5");
  EXPECT_TRUE(store->Remove(rows[0].id));
  EXPECT_FALSE(store->Remove(rows[0].id));
  EXPECT_EQ(Names(store->Top(10, "")), "ACE ");
}

TEST_F(ScoreServerTest, BackupOfALiveDatabaseHoldsItsCommittedRows) {
  store = OpenScoreStore(db);
  const std::string copy = (dir / "copy.db").string();
  if (IsPostgres(db)) {
    EXPECT_THROW(store->Backup(copy), std::runtime_error);
    return;
  }
  for (int i = 0; i < 3; ++i) {
    const std::string token = "t" + std::to_string(i);
    store->IssueToken(token, "k", 0, 100, 10);
    store->Submit(token, {0, "R" + std::to_string(i), i, "", 0, ""}, "127.0.0.1", 1);
  }
  // Another process halfway through a write: its row is not in the copy.
  RawDb other(db);
  other.Run(
      "BEGIN IMMEDIATE; INSERT INTO scores (name, score, country, created, address)"
      " VALUES ('HALF', 99, '', 0, '')");
  store->Backup(copy);
  EXPECT_THROW(store->Backup(copy), std::runtime_error);  // never over an existing file
  other.Run("ROLLBACK");
  const auto copied = OpenScoreStore(copy);
  EXPECT_EQ(Names(copied->Top(10, "")), "R2 R1 R0 ");
  EXPECT_EQ(copied->SchemaVersion(), kSchemaVersion);
}

TEST_F(ScoreServerTest, ReadsAnswerWhileAWriteWaitsForAnotherConnection) {
  store = OpenScoreStore(db);
  store->IssueToken("t", "k", 0, 100, 10);
  // Another connection holds a write that the store's next write must wait for.
  RawDb other(db);
  other.Run(IsPostgres(db) ? "BEGIN; SELECT token FROM tokens WHERE token = 't' FOR UPDATE"
                           : "BEGIN IMMEDIATE; DELETE FROM scores");
  std::atomic<bool> submitted{false};
  std::thread writer([&] {
    try {
      EXPECT_EQ(store->Submit("t", {0, "ACE", 5, "", 0, ""}, "127.0.0.1", 1),
                SubmitOutcome::Stored);
    } catch (const std::exception& e) {
      ADD_FAILURE() << "the write failed: " << e.what();
    }
    submitted = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the write is waiting by now
  auto reads = std::async(std::launch::async, [&] {
    return store->Top(10, "").size() + store->Top(10, "LATVIA").size() +
           static_cast<std::size_t>(store->Count()) + std::size_t{store->TokenValid("t", 1)};
  });
  // The bound only keeps a broken store from hanging the test; the reads come at once.
  const bool answered = reads.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
  EXPECT_TRUE(answered);
  EXPECT_FALSE(submitted) << "the reads were kept waiting until the write was done";
  other.Run("ROLLBACK");
  writer.join();
  if (answered) {
    EXPECT_EQ(reads.get(), 1u);  // only the unused token
  }
  EXPECT_EQ(store->Count(), 1);
}

TEST_F(ScoreServerTest, ProcessesSharingAPostgresDatabaseTakeFromOneRateBucket) {
  store = OpenScoreStore(db);
  if (!IsPostgres(db)) {
    EXPECT_FALSE(store->SharesRateBuckets());
    EXPECT_THROW(store->TakeFromBucket("check:x", 60, 3, 0), std::logic_error);
    return;
  }
  const auto other = OpenScoreStore(db);
  EXPECT_TRUE(store->SharesRateBuckets());
  const std::int64_t t = 1'000'000;
  // 60 a minute, 3 at once, taken in turn by both.
  const struct {
    ScoreStore* by;
    std::string bucket;
    std::int64_t at;
    bool taken;
  } kTakes[] = {
      {store.get(), "check:a", t, true},        {other.get(), "check:a", t, true},
      {store.get(), "check:a", t, true},        {other.get(), "check:a", t, false},
      {other.get(), "check:b", t, true},        {store.get(), "check:a", t + 500, false},
      {store.get(), "check:a", t + 1000, true}, {other.get(), "check:a", t + 1000, false}};
  for (const auto& take : kTakes)
    EXPECT_EQ(take.by->TakeFromBucket(take.bucket, 60, 3, take.at), take.taken)
        << take.bucket << " at " << take.at;
}

}  // namespace
}  // namespace trakvolt::server::testing
