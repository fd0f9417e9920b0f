#include "tests/fuzz/receiver_model.h"

void ReceiverModel::Call(UINT event, UINT32 dataFlags, const std::string& bytes,
                         const SpoolFaults& faults) {
  if (event != CHANNEL_EVENT_DATA_RECEIVED) return;

  if (dataFlags & CHANNEL_FLAG_FIRST) {
    // A document starts only in a spool file known to be gone.
    bool stays = spool_.has_value() && faults.removeFails;
    if (!stays) spool_.reset();
    dropped_ = stays || faults.queryFails;
  }
  if (dropped_) return;

  if (faults.openFails) {
    dropped_ = true;
    return;
  }
  if (!spool_) spool_.emplace();  // the open creates a missing file
  std::string& file = *spool_;
  std::uint64_t room = bytes.size();
  if (faults.sizeLimit)
    room = *faults.sizeLimit > file.size() ? *faults.sizeLimit - file.size() : 0;
  if (bytes.size() > room) {
    // A short write keeps what fitted; the document is lost all the same.
    file.append(bytes, 0, static_cast<std::size_t>(room));
    dropped_ = true;
    return;
  }
  file += bytes;
  if (dataFlags & CHANNEL_FLAG_LAST) prints_.push_back(file);
}
