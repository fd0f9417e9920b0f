#include "tests/deploy/zip_listing.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

std::uint32_t Le(const std::string& bytes, std::size_t at, int width) {
  if (at + width > bytes.size()) throw std::runtime_error("zip: truncated");
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace

std::map<std::string, ZipEntry> ListZip(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string zip{std::istreambuf_iterator<char>(file), {}};
  // The end-of-central-directory record closes the file, behind an optional comment.
  const std::size_t end = zip.rfind("PK\x05\x06");
  if (end == std::string::npos) throw std::runtime_error(path + ": not a zip file");
  const std::uint32_t count = Le(zip, end + 10, 2);
  std::size_t at = Le(zip, end + 16, 4);

  std::map<std::string, ZipEntry> entries;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (Le(zip, at, 4) != 0x02014b50) throw std::runtime_error(path + ": bad central directory");
    const std::uint32_t nameLength = Le(zip, at + 28, 2);
    const std::string name = zip.substr(at + 46, nameLength);
    if (name.empty() || name.back() != '/') {
      entries[name] = ZipEntry{Le(zip, at + 16, 4), Le(zip, at + 24, 4)};
    }
    at += 46 + nameLength + Le(zip, at + 30, 2) + Le(zip, at + 32, 2);
  }
  return entries;
}

std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}
