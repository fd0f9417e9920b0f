// Reads the machine type of a Windows binary, so that the stand-in client can
// say why an add-in of the other architecture cannot be loaded.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint16_t kMachineI386 = 0x014c;
constexpr uint16_t kMachineAmd64 = 0x8664;
constexpr uint16_t kMachineArm64 = 0xaa64;

struct PeInfo {
  bool isPe;         // an MZ header pointing at a "PE\0\0" header
  uint16_t machine;  // IMAGE_FILE_HEADER::Machine
  bool isDll;        // IMAGE_FILE_DLL in the characteristics
};

// Reads the headers at the start of a file (the first few KiB are enough).
PeInfo ReadPeInfo(const unsigned char* data, size_t size);

// "i386 (32-bit)", "x86-64 (64-bit)", "ARM64", or "unknown machine 0x....".
const char* MachineName(uint16_t machine);
