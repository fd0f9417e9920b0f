#include "tools/bench/child_process.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

ChildResult RunChild(const std::vector<std::string>& argv, const std::string& directory,
                     const std::vector<std::pair<std::string, std::string>>& environment,
                     bool quiet) {
  int out[2];
  if (pipe(out) != 0) return {false, "", 0};
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    if (quiet) dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    if (chdir(directory.c_str()) == 0) execvp(args[0], args.data());
    std::perror(args[0]);
    _exit(127);
  }
  close(out[1]);
  ChildResult result{false, "", 0};
  char buffer[4096];
  ssize_t length;
  while ((length = read(out[0], buffer, sizeof(buffer))) > 0) result.output.append(buffer, length);
  close(out[0]);
  int status = 0;
  rusage usage{};
  if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
    result.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.peakKiB = usage.ru_maxrss;
  }
  return result;
}
