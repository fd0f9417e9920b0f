// Reads the table of contents of a zip file: what a user's unzip would list.
#pragma once

#include <cstdint>
#include <map>
#include <string>

struct ZipEntry {
  std::uint32_t crc32;
  std::uint64_t size;  // uncompressed
};

// The entries of the zip at `path` by name, directories left out. Throws
// std::runtime_error if the file is not a zip.
std::map<std::string, ZipEntry> ListZip(const std::string& path);

std::uint32_t Crc32(const std::string& bytes);
