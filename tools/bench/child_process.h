// Runs a program as a child process and reports what the benchmark needs of it.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct ChildResult {
  bool succeeded;      // exited with status 0
  std::string output;  // its standard output
  long peakKiB;        // its peak resident memory
};

// Runs argv[0] (looked up on PATH) in directory with these variables added to
// the environment, and waits for it. A quiet child's standard error is dropped.
ChildResult RunChild(const std::vector<std::string>& argv, const std::string& directory,
                     const std::vector<std::pair<std::string, std::string>>& environment = {},
                     bool quiet = false);
