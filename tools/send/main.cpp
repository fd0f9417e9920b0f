// quarven-send FILE: sends FILE to the quarven add-in of this session's client.
#include <iostream>

#include "tools/send/sender.h"
#include "tools/send/wts_channel.h"

int main(int argc, char** argv) {
  WtsChannel channel;
  // One write carries at most a ULONG's worth of bytes.
  return Send(std::vector<std::string>(argv + 1, argv + argc), channel, 0xFFFFFFFFu, std::cout,
              std::cerr);
}
