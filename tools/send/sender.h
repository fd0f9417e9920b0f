// quarven-send's work, apart from Windows: check the command line, read the file,
// send it as one message on "QUARVEN" and say what happened.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/send/server_channel.h"

enum SendStatus {
  kSent = 0,
  kUsage = 2,
  kBadFile = 3,
  kNotInSession = 4,
  kNoChannel = 5,
  kShortWrite = 6,
};

// `args` are the command-line arguments after the program's name. `maxBytes` is the
// longest message the channel can take in one write.
SendStatus Send(const std::vector<std::string>& args, ServerChannel& channel,
                std::uint64_t maxBytes, std::ostream& out, std::ostream& err);
