// The score server as a child process of the load tool.
#pragma once

#include <sys/types.h>

#include <csignal>
#include <string>
#include <vector>

namespace trakvolt::load {

class ServerProcess {
 public:
  // Starts `program` with `args` and waits for its first line, which names the port. With a
  // `log_path` its standard error goes to that file.
  ServerProcess(const std::string& program, const std::vector<std::string>& args,
                const std::string& log_path = {});
  ~ServerProcess() { Stop(SIGTERM); }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;
  int Port() const { return port_; }
  void Stop(int sig);

 private:
  pid_t pid_ = 0;
  int port_ = 0;
};

}  // namespace trakvolt::load
