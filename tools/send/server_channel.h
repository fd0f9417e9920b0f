// The server's end of a static virtual channel, as the sender uses it. On Windows
// it is the Remote Desktop Services API (wts_channel.cpp); the tests use a fake.
#pragma once

#include <cstdint>
#include <vector>

class ServerChannel {
 public:
  enum class Opened { kYes, kNotInSession, kNotOnConnection };

  virtual ~ServerChannel() = default;
  // Opens the channel `name` in the current session of this server.
  virtual Opened Open(const char* name) = 0;
  // Writes `message` as one message; returns how many bytes the channel took.
  virtual std::uint64_t Write(const std::vector<char>& message) = 0;
  virtual void Close() = 0;
};
