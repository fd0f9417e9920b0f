#include "tools/send/wts_channel.h"

#include <string>

#include "platform/wtsapi.h"

namespace {

// An open can fail for two reasons a user must tell apart: this is not a remote
// session at all, or the client did not offer the channel. The session's protocol
// says which.
bool InRemoteSession() {
  LPSTR protocol = nullptr;
  DWORD length = 0;
  if (!WTSQuerySessionInformationA(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION,
                                   WTS_CLIENT_PROTOCOL_TYPE, &protocol, &length)) {
    return false;
  }
  USHORT type = WTS_PROTOCOL_TYPE_CONSOLE;
  if (length >= sizeof type) CopyMemory(&type, protocol, sizeof type);
  WTSFreeMemory(protocol);
  return type != WTS_PROTOCOL_TYPE_CONSOLE;
}

}  // namespace

ServerChannel::Opened WtsChannel::Open(const char* name) {
  std::string channel(name);  // the API takes the name as a writable string
  handle_ = WTSVirtualChannelOpen(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, &channel[0]);
  if (handle_) return Opened::kYes;
  return InRemoteSession() ? Opened::kNotOnConnection : Opened::kNotInSession;
}

std::uint64_t WtsChannel::Write(const std::vector<char>& message) {
  ULONG written = 0;
  // The caller keeps messages within a ULONG, so the length is not cut.
  if (!WTSVirtualChannelWrite(handle_, const_cast<char*>(message.data()),
                              static_cast<ULONG>(message.size()), &written)) {
    return 0;
  }
  return written;
}

void WtsChannel::Close() { WTSVirtualChannelClose(handle_); }
