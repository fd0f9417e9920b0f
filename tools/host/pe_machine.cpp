#include "tools/host/pe_machine.h"

namespace {

uint32_t Read16(const unsigned char* p) { return p[0] | (p[1] << 8); }
uint32_t Read32(const unsigned char* p) {
  return Read16(p) | (static_cast<uint32_t>(Read16(p + 2)) << 16);
}

}  // namespace

PeInfo ReadPeInfo(const unsigned char* data, size_t size) {
  PeInfo info{false, 0, false};
  // IMAGE_DOS_HEADER: "MZ", and e_lfanew at offset 0x3c.
  if (size < 0x40 || data[0] != 'M' || data[1] != 'Z') return info;
  uint32_t peOffset = Read32(data + 0x3c);
  // "PE\0\0", then IMAGE_FILE_HEADER: Machine (2), ..., Characteristics at +18.
  if (peOffset > size || size - peOffset < 24) return info;
  const unsigned char* pe = data + peOffset;
  if (pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0) return info;
  info.isPe = true;
  info.machine = static_cast<uint16_t>(Read16(pe + 4));
  info.isDll = (Read16(pe + 4 + 18) & 0x2000) != 0;
  return info;
}

const char* MachineName(uint16_t machine) {
  switch (machine) {
    case kMachineI386:
      return "i386 (32-bit)";
    case kMachineAmd64:
      return "x86-64 (64-bit)";
    case kMachineArm64:
      return "ARM64";
    default:
      return "an unknown machine";
  }
}
