#include "tools/send/document.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string Failure(const std::string& path, const std::string& what) { return path + ": " + what; }

}  // namespace

Document ReadDocument(const std::string& path, std::uint64_t maxBytes) {
  Document document;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    document.error =
        Failure(path, errno == ENOENT ? std::string("no such file")
                                      : std::string("cannot be read: ") + std::strerror(errno));
    return document;
  }
  // Read in blocks rather than trusting a size taken beforehand: the file may be a
  // pipe or still growing, and reading stops as soon as the limit is passed.
  char block[64 * 1024];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
    if (document.bytes.size() + got > maxBytes) {
      document.error = Failure(
          path, "longer than one message can carry (" + std::to_string(maxBytes) + " bytes)");
      return document;
    }
    document.bytes.insert(document.bytes.end(), block, block + got);
  }
  if (std::ferror(file.get())) {
    document.error = Failure(path, std::string("cannot be read: ") + std::strerror(errno));
  } else if (document.bytes.empty()) {
    document.error = Failure(path, "is empty, there is nothing to send");
  }
  return document;
}
