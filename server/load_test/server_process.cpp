// Starting and stopping the score server.
#include "server_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

namespace trakvolt::load {

ServerProcess::ServerProcess(const std::string& program, const std::vector<std::string>& args,
                             const std::string& log_path) {
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);
  if (!log_path.empty())
    posix_spawn_file_actions_addopen(&actions, 2, log_path.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0600);
  std::vector<std::string> all = {program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int rc = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (rc != 0) {
    close(out[0]);
    pid_ = 0;
    throw std::runtime_error("cannot start " + program);
  }
  std::string line;
  char c;
  while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
  close(out[0]);
  const auto colon = line.rfind(':');
  if (colon == std::string::npos) {
    Stop(SIGKILL);
    throw std::runtime_error("server did not start: " + line);
  }
  port_ = std::stoi(line.substr(colon + 1));
}

void ServerProcess::Stop(int sig) {
  if (pid_ <= 0) return;
  kill(pid_, sig);
  waitpid(pid_, nullptr, 0);
  pid_ = 0;
}

}  // namespace trakvolt::load
