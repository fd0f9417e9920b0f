#include "tests/deploy/files.h"

#include <fstream>
#include <iterator>

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}
