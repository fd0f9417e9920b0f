// Makes the faults of SpoolFaults real for as long as it lives: the add-in's
// own fopen, fwrite and fclose meet them in the kernel, the Windows calls in
// the double.
#pragma once

#include <signal.h>
#include <sys/resource.h>

#include "tests/fuzz/receiver_model.h"

class SpoolFaultScope {
 public:
  explicit SpoolFaultScope(const SpoolFaults& faults);
  ~SpoolFaultScope();
  SpoolFaultScope(const SpoolFaultScope&) = delete;
  SpoolFaultScope& operator=(const SpoolFaultScope&) = delete;

 private:
  rlimit files_;
  rlimit size_;
  struct sigaction sizeSignal_;
};
