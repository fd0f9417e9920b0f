// Runs a program and collects what it prints: the deployment tests drive Wine,
// ghostscript and the release's programs as a user would, from outside.
#pragma once

#include <map>
#include <string>
#include <vector>

struct Ran {
  int status;          // the exit status, or 128 + the signal that ended it
  std::string output;  // standard output and standard error, interleaved
};

// Runs `args` (the program found on PATH unless it has a slash) in `directory`,
// with `environment` added to this process's own.
Ran Run(const std::vector<std::string>& args, const std::string& directory = ".",
        const std::map<std::string, std::string>& environment = {});
