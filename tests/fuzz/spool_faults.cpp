#include "tests/fuzz/spool_faults.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/windows_double.h"

namespace {
void Set(int resource, rlim_t soft) {
  rlimit limit;
  getrlimit(resource, &limit);
  limit.rlim_cur = soft;
  if (setrlimit(resource, &limit) != 0) {
    perror("setrlimit");
    abort();
  }
}

// The lowest descriptor free now: with the limit at it, no open succeeds.
rlim_t LowestFreeDescriptor() {
  int probe = open("/dev/null", O_RDONLY);
  close(probe);
  return static_cast<rlim_t>(probe);
}
}  // namespace

SpoolFaultScope::SpoolFaultScope(const SpoolFaults& faults) {
  getrlimit(RLIMIT_NOFILE, &files_);
  getrlimit(RLIMIT_FSIZE, &size_);
  // A write past the size limit then fails with EFBIG instead of ending the process.
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &sizeSignal_);

  Windows().keepFileOnDelete = faults.removeFails;
  Windows().failFileAttributes = faults.queryFails;
  if (faults.sizeLimit) Set(RLIMIT_FSIZE, static_cast<rlim_t>(*faults.sizeLimit));
  if (faults.openFails) Set(RLIMIT_NOFILE, LowestFreeDescriptor());
}

SpoolFaultScope::~SpoolFaultScope() {
  setrlimit(RLIMIT_NOFILE, &files_);
  setrlimit(RLIMIT_FSIZE, &size_);
  sigaction(SIGXFSZ, &sizeSignal_, nullptr);
  Windows().keepFileOnDelete = false;
  Windows().failFileAttributes = false;
}
