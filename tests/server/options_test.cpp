// The server's command line.
#include "options.h"

#include <gtest/gtest.h>

namespace trakvolt::server {
namespace {

TEST(ServerOptions, DefaultsAndValues) {
  const auto plain = ParseOptions({});
  ASSERT_TRUE(plain.options);
  EXPECT_EQ(plain.options->listen_host, "127.0.0.1");
  EXPECT_EQ(plain.options->listen_port, 8642);
  EXPECT_EQ(plain.options->db, "scores.db");

  const auto set =
      ParseOptions({"--listen", "0.0.0.0:80", "--db", "postgresql://u@h/db", "--check-rate", "0",
                    "--trust-proxy", "--tokens-per-address", "5"});
  ASSERT_TRUE(set.options) << set.message;
  EXPECT_EQ(set.options->listen_host, "0.0.0.0");
  EXPECT_EQ(set.options->listen_port, 80);
  EXPECT_EQ(set.options->db, "postgresql://u@h/db");
  EXPECT_EQ(set.options->check_rate, 0);
  EXPECT_EQ(set.options->tokens_per_address, 5);
  EXPECT_TRUE(set.options->trust_proxy);
  EXPECT_FALSE(plain.options->trust_proxy);
  EXPECT_EQ(plain.options->command, ServerCommand::Serve);

  const auto v6 = ParseOptions({"--listen", "[::]:8642"});
  ASSERT_TRUE(v6.options) << v6.message;
  EXPECT_EQ(v6.options->listen_host, "::");
  EXPECT_EQ(v6.options->listen_port, 8642);

  const auto remove = ParseOptions({"--db", "x.db", "--remove", "42"});
  ASSERT_TRUE(remove.options) << remove.message;
  EXPECT_EQ(remove.options->command, ServerCommand::Remove);
  EXPECT_EQ(remove.options->remove_id, 42);
  const auto list = ParseOptions({"--list", "--limit", "5", "--country", "РОССИЯ"});
  ASSERT_TRUE(list.options) << list.message;
  EXPECT_EQ(list.options->command, ServerCommand::List);
  EXPECT_EQ(list.options->list_limit, 5);
  EXPECT_EQ(list.options->list_country, "РОССИЯ");
}

TEST(ServerOptions, HelpNamesEveryOption) {
  const auto help = ParseOptions({"--help"});
  EXPECT_TRUE(help.help);
  EXPECT_FALSE(help.options);
  for (const char* name : {"--listen",
                           "--db",
                           "--token-ttl",
                           "--tokens-per-address",
                           "--check-rate",
                           "--check-burst",
                           "--submit-rate",
                           "--submit-burst",
                           "--max-connections",
                           "--max-connections-per-ip",
                           "--connection-timeout",
                           "--request-deadline",
                           "--threads",
                           "--db-connections",
                           "--page-rate",
                           "--page-burst",
                           "--table-size",
                           "--trust-proxy",
                           "--list",
                           "--remove",
                           "--backup",
                           "/64",
                           "enforces one limit"})
    EXPECT_NE(help.message.find(name), std::string::npos) << name;
}

TEST(ServerOptions, MistakesAreReported) {
  const std::vector<std::vector<std::string>> bad = {
      {"--listen", "8642"},   {"--listen", "h:99999"}, {"--listen", "h:x"}, {"--db", ""},
      {"--threads", "0"},     {"--token-ttl", "5s"},   {"--what", "1"},     {"--db"},
      {"--listen", "::1:80"}, {"--listen", "[]:80"},   {"--remove", "0"},   {"--remove", "x"},
      {"--backup", ""}};
  for (const auto& args : bad) {
    const auto r = ParseOptions(args);
    EXPECT_FALSE(r.options) << args[0];
    EXPECT_FALSE(r.help);
    EXPECT_FALSE(r.message.empty());
  }
}

}  // namespace
}  // namespace trakvolt::server
