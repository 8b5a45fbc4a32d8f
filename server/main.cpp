// trakvolt-scores: the game's online score table.
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "base/process_signals.h"
#include "http_server.h"
#include "operator_jobs.h"
#include "options.h"
#include "refusal_log.h"
#include "routes.h"
#include "score_store.h"

int main(int argc, char** argv) {
  trakvolt::IgnoreFileSizeSignal();
  using namespace trakvolt::server;
  const auto parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    std::fputs(parsed.message.c_str(), parsed.help ? stdout : stderr);
    if (!parsed.help) std::fputs("\nTry --help.\n", stderr);
    return parsed.help ? 0 : 2;
  }
  const ServerOptions& options = *parsed.options;
  if (options.command != ServerCommand::Serve) {
    try {
      const auto store = OpenScoreStore(options.db, 1);
      return RunOperatorJob(options, *store, std::cout, std::cerr);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "trakvolt-scores: %s\n", e.what());
      return 1;
    }
  }
  // Wait for SIGINT or SIGTERM in this thread; the server's threads never see them.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  try {
    RefusalLog log(StandardErrorSink());
    const auto store = OpenScoreStore(options.db, options.db_connections);
    ScoreService service(options, *store, SystemClockMs, &log);
    HttpServer server(options, service, &log);
    const bool v6 = options.listen_host.find(':') != std::string::npos;
    std::printf("trakvolt-scores listening on %s%s%s:%u\n", v6 ? "[" : "",
                options.listen_host.c_str(), v6 ? "]" : "", static_cast<unsigned>(server.Port()));
    std::fflush(stdout);
    int signal_number = 0;
    sigwait(&stop_signals, &signal_number);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "trakvolt-scores: %s\n", e.what());
    return 1;
  }
  return 0;
}
