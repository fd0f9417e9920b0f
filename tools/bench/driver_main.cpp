// Measures the receiver where it runs: natively, or built for Windows under Wine.
//   quarven-bench-driver measure ADDIN BYTES RUNS
//     stores RUNS documents of BYTES in the current directory, each all three
//     ways at once, and prints one line per run:
//     "<receiver> <print request> <floor> <held open>", in seconds;
//   quarven-bench-driver receive ADDIN BYTES
//     receives one document of BYTES through the add-in, for its peak memory.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/bench/addin_session.h"
#include "tools/bench/chunk_runs.h"

int main(int argc, char** argv) {
  bool measure = argc == 5 && std::strcmp(argv[1], "measure") == 0;
  bool receive = argc == 4 && std::strcmp(argv[1], "receive") == 0;
  if (!measure && !receive) {
    std::fprintf(stderr,
                 "usage: quarven-bench-driver measure ADDIN BYTES RUNS\n"
                 "       quarven-bench-driver receive ADDIN BYTES\n");
    return 2;
  }
  PCHANNEL_OPEN_EVENT_FN handler = ConnectAddin(argv[2]);
  if (handler == nullptr) return 1;
  std::uint64_t documentSize = std::strtoull(argv[3], nullptr, 10);
  if (receive) {
    Receive(handler, documentSize);
    return 0;
  }
  unsigned long runs = std::strtoul(argv[4], nullptr, 10);
  for (unsigned long run = 0; run < runs; ++run) {
    RunTimes times = TimeRun(handler, documentSize);
    std::printf("%.6f %.6f %.6f %.6f\n", times.receiver, times.printRequest, times.floor,
                times.heldOpen);
    std::fflush(stdout);
  }
  return 0;
}
