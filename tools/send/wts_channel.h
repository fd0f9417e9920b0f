// ServerChannel over the Remote Desktop Services API of the server (wtsapi32.dll).
#pragma once

#include <windows.h>

#include "tools/send/server_channel.h"

class WtsChannel : public ServerChannel {
 public:
  Opened Open(const char* name) override;
  std::uint64_t Write(const std::vector<char>& message) override;
  void Close() override;

 private:
  HANDLE handle_ = nullptr;
};
