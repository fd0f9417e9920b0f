// What the receiver must do, written as plainly as possible: the spool file and
// the print requests that a run of open-handler calls should leave.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/channel.h"

// The faults of the file system during one call.
struct SpoolFaults {
  bool openFails = false;                  // the spool file cannot be opened
  bool removeFails = false;                // an existing spool file cannot be removed and stays
  bool queryFails = false;                 // asking whether the spool file is there fails
  std::optional<std::uint64_t> sizeLimit;  // the file cannot grow past this size
};

class ReceiverModel {
 public:
  void Call(UINT event, UINT32 dataFlags, const std::string& bytes, const SpoolFaults& faults);

  // The spool file's content; nullopt when there is none.
  const std::optional<std::string>& spool() const { return spool_; }
  // The spool file's content at each print request, in order.
  const std::vector<std::string>& prints() const { return prints_; }

 private:
  std::optional<std::string> spool_;
  bool dropped_ = false;  // the current document has lost a chunk
  std::vector<std::string> prints_;
};
