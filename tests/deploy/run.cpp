#include "tests/deploy/run.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

Ran Run(const std::vector<std::string>& args, const std::string& directory,
        const std::map<std::string, std::string>& environment) {
  // The output goes to a file, not a pipe: Wine's server outlives the program and
  // would hold a pipe open, so reading to its end would wait for the server.
  char outputPath[] = "/tmp/quarven-run-XXXXXX";
  const int output = mkstemp(outputPath);
  if (output < 0) throw std::runtime_error("mkstemp failed");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    dup2(output, STDOUT_FILENO);
    dup2(output, STDERR_FILENO);
    close(output);
    const int nothing = open("/dev/null", O_RDONLY);
    dup2(nothing, STDIN_FILENO);
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv;
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    if (chdir(directory.c_str()) == 0) execvp(argv[0], argv.data());
    _exit(127);
  }
  close(output);
  int status = 0;
  waitpid(pid, &status, 0);
  std::ifstream file(outputPath, std::ios::binary);
  Ran ran{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
          {std::istreambuf_iterator<char>(file), {}}};
  unlink(outputPath);
  return ran;
}
