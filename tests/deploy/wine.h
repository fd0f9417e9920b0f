// The Wine sessions of a test run, one per Windows architecture, set up by the
// Wine tests' driver (tests/wine/run-wine.sh) and shared by all the run's tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/deploy/run.h"

struct WinePrefix {
  std::string arch;    // "x86" or "x64": the programs it runs and the Windows it plays
  std::string state;   // the driver's folder for the session
  std::string loader;  // Wine's loader for programs of that architecture

  // Whether the setup made the prefix: a machine that cannot run 32-bit Linux
  // programs cannot run 32-bit Wine either.
  bool Ready() const;
  // The multi-page PDF the setup made.
  std::string SamplePdf() const { return state + "/sample.pdf"; }
  // Runs a Windows program (a path in Windows form, or a name such as cmd or reg).
  Ran Run(const std::vector<std::string>& args, const std::string& directory = ".",
          const std::map<std::string, std::string>& environment = {}) const;
};

WinePrefix PrefixFor(const std::string& arch);

// The name Wine gives a Linux path: its drive Z: is the Linux root.
std::string WindowsPath(const std::string& linuxPath);
