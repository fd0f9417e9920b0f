#include "tools/bench/machine.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <ctime>
#include <fstream>

namespace {
std::string ProcessorModel() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
  }
  return "unknown processor";
}
}  // namespace

std::string DescribeMachine() {
  utsname system{};
  uname(&system);
  char date[32];
  std::time_t now = std::time(nullptr);
  std::strftime(date, sizeof(date), "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
  return std::to_string(sysconf(_SC_NPROCESSORS_ONLN)) + " cores (nproc), " + ProcessorModel() +
         ", " + system.sysname + " " + system.release + ", " + date;
}
