#include "tools/host/pe_machine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<unsigned char> Image(uint16_t machine, uint16_t characteristics,
                                 uint32_t peOffset = 0x80) {
  std::vector<unsigned char> image(0x200, 0);
  image[0] = 'M';
  image[1] = 'Z';
  image[0x3c] = peOffset & 0xff;
  image[0x3d] = (peOffset >> 8) & 0xff;
  unsigned char* pe = image.data() + peOffset;
  pe[0] = 'P';
  pe[1] = 'E';
  pe[4] = machine & 0xff;
  pe[5] = machine >> 8;
  pe[22] = characteristics & 0xff;
  pe[23] = characteristics >> 8;
  return image;
}

struct PeCase {
  uint16_t machine;
  uint16_t characteristics;
  bool isDll;
};

void PrintTo(const PeCase& c, std::ostream* os) {
  *os << MachineName(c.machine) << (c.isDll ? " DLL" : " program");
}

class PeHeaders : public ::testing::TestWithParam<PeCase> {};

TEST_P(PeHeaders, ReadsMachineAndKind) {
  auto image = Image(GetParam().machine, GetParam().characteristics);
  PeInfo info = ReadPeInfo(image.data(), image.size());
  EXPECT_TRUE(info.isPe);
  EXPECT_EQ(info.machine, GetParam().machine);
  EXPECT_EQ(info.isDll, GetParam().isDll);
}

INSTANTIATE_TEST_SUITE_P(PeMachine, PeHeaders,
                         ::testing::Values(PeCase{kMachineI386, 0x2102, true},  // 32-bit DLL
                                           PeCase{kMachineAmd64, 0x0022,
                                                  false}));  // 64-bit program

TEST(PeMachine, RejectsWhatIsNoPe) {
  std::vector<unsigned char> text(0x200, 'x');
  EXPECT_FALSE(ReadPeInfo(text.data(), text.size()).isPe);
  auto badOffset = Image(kMachineI386, 0x2102);
  badOffset[0x3c] = 0xff;
  badOffset[0x3d] = 0xff;
  EXPECT_FALSE(ReadPeInfo(badOffset.data(), badOffset.size()).isPe);
  auto image = Image(kMachineI386, 0x2102);
  EXPECT_FALSE(ReadPeInfo(image.data(), 0x20).isPe);
  EXPECT_FALSE(ReadPeInfo(image.data(), 0x90).isPe);
}

TEST(PeMachine, Names) {
  EXPECT_STREQ(MachineName(kMachineI386), "i386 (32-bit)");
  EXPECT_STREQ(MachineName(kMachineAmd64), "x86-64 (64-bit)");
  EXPECT_STREQ(MachineName(0x1234), "an unknown machine");
}

}  // namespace
