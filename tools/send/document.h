// Reads the file to send into memory: the channel takes a message in one write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Document {
  std::vector<char> bytes;
  std::string error;  // why the file cannot be sent; empty when it can
};

// Reads the whole file at `path`. A file that is missing, unreadable, empty or
// longer than `maxBytes` yields an error, and then `bytes` is of no use.
Document ReadDocument(const std::string& path, std::uint64_t maxBytes);
