// The entry: what it registers, what it answers, and what it keeps.
#include <dlfcn.h>
#include <stddef.h>

#include <cstring>

#include "tests/support/addin_test.h"

namespace {

struct RegistrationCase {
  const char* name;
  UINT initResult;
  ULONG optionsSet;
  BOOL expected;
  std::vector<std::string> notices;
  int noticeResult = IDOK;  // 0: MessageBoxA fails
};

void PrintTo(const RegistrationCase& c, std::ostream* os) { *os << c.name; }

class RegistrationResult : public AddinTest,
                           public ::testing::WithParamInterface<RegistrationCase> {};

TEST_P(RegistrationResult, AnswersAndKeepsTheCopyAsTheHostSaid) {
  const RegistrationCase& c = GetParam();
  Host().initResult = c.initResult;
  Host().optionsToSet = c.optionsSet;
  Windows().noticeResult = c.noticeResult;

  EXPECT_EQ(Enter(), c.expected);
  ExpectNotices(c.notices);
  ASSERT_EQ(Windows().allocationSizes.size(), 1u);

  if (c.initResult != CHANNEL_RC_OK) {
    // A refused add-in hears nothing more from the host: the copy goes now.
    EXPECT_TRUE(Windows().liveBlocks.empty());
    EXPECT_EQ(Windows().freedBlocks.size(), 1u);
    return;
  }
  // Accepted, whatever the result: the copy stays until termination frees it.
  ASSERT_EQ(Windows().liveBlocks.size(), 1u);
  void* copy = Windows().liveBlocks[0];
  Event(CHANNEL_EVENT_TERMINATED);
  EXPECT_EQ(Windows().freedBlocks, std::vector<void*>{copy});
  EXPECT_TRUE(Windows().liveBlocks.empty());
}

const char* kInitFailed = "RDP Virtual channel Init Failed";

INSTANTIATE_TEST_SUITE_P(
    Entry, RegistrationResult,
    ::testing::Values(
        RegistrationCase{"InitializedOnly", CHANNEL_RC_OK, CHANNEL_OPTION_INITIALIZED, TRUE, {}},
        RegistrationCase{"OptionsLeftAtZero", CHANNEL_RC_OK, 0, FALSE, {}},
        RegistrationCase{
            "InitializedAndAnotherBit", CHANNEL_RC_OK, CHANNEL_OPTION_INITIALIZED | 0x1, FALSE, {}},
        RegistrationCase{"AnotherBitOnly", CHANNEL_RC_OK, 0x40000000, FALSE, {}},
        RegistrationCase{"RefusedTooManyChannels", 1, 0, FALSE, {kInitFailed}},
        RegistrationCase{
            "RefusedButOptionsSet", 7, CHANNEL_OPTION_INITIALIZED, FALSE, {kInitFailed}},
        RegistrationCase{
            "RefusedWithHighCode", 0xFFFFFFFF, CHANNEL_OPTION_INITIALIZED, FALSE, {kInitFailed}},
        RegistrationCase{"RefusedAndTheNoticeFails", 1, 0, FALSE, {kInitFailed}, 0}),
    [](const ::testing::TestParamInfo<RegistrationCase>& info) { return info.param.name; });

using EntryTest = AddinTest;

TEST_F(EntryTest, RegistersOneQuarvenChannelWithTheInitHandleInTheAddin) {
  ASSERT_TRUE(Enter());
  ASSERT_EQ(Host().inits.size(), 1u);
  const InitCall& call = Host().inits[0];

  EXPECT_EQ(call.channelCount, 1);
  ASSERT_EQ(call.channels.size(), 1u);
  EXPECT_EQ(std::memcmp(call.channels[0].name, "QUARVEN\0", 8), 0);
  EXPECT_EQ(call.channels[0].options, 0u);
  EXPECT_EQ(call.versionRequested, static_cast<ULONG>(VIRTUAL_CHANNEL_VERSION_WIN2000));
  EXPECT_NE(call.pChannelInitEventProc, nullptr);

  // The host stores the init handle into the add-in's own process-wide value.
  ASSERT_NE(call.ppInitHandle, nullptr);
  Dl_info owner;
  ASSERT_NE(dladdr(call.ppInitHandle, &owner), 0);
  EXPECT_STREQ(owner.dli_fname, QUARVEN_ADDIN_PATH);
  EXPECT_EQ(*call.ppInitHandle, Host().initHandle);
}

class TableCopy : public AddinTest, public ::testing::WithParamInterface<DWORD> {};

TEST_P(TableCopy, CopiesAllCbSizeBytesAndNeverUsesTheHostsTableAgain) {
  std::vector<unsigned char> table = MakeEntryPoints(GetParam());
  ASSERT_TRUE(Enter(table));

  ASSERT_EQ(Windows().allocationSizes, std::vector<size_t>{table.size()});
  ASSERT_EQ(Host().inits.size(), 1u);
  EXPECT_EQ(Host().inits[0].entryPointsCopy, table);

  // Enter spoilt the host's table after the call; the open goes through the copy.
  Event(CHANNEL_EVENT_CONNECTED);
  EXPECT_EQ(Host().opens.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Entry, TableCopy,
                         ::testing::Values(offsetof(CHANNEL_ENTRY_POINTS, pVirtualChannelOpen) +
                                               sizeof(PVIRTUALCHANNELOPEN),
                                           sizeof(CHANNEL_ENTRY_POINTS),
                                           sizeof(CHANNEL_ENTRY_POINTS) + kEntryPointsExtra));

TEST_F(EntryTest, FailedAllocationRegistersNothing) {
  Windows().failLocalAlloc = true;
  EXPECT_FALSE(Enter());
  EXPECT_TRUE(Host().inits.empty());
  EXPECT_EQ(Windows().calls, std::vector<std::string>{"LocalAlloc"});
  ExpectNotices({});
}

class ShortTable : public AddinTest, public ::testing::WithParamInterface<DWORD> {};

TEST_P(ShortTable, WithoutTheOpenOperationRegistersNothingAndKeepsNothing) {
  EXPECT_FALSE(Enter(MakeEntryPoints(GetParam())));
  EXPECT_TRUE(Host().inits.empty());
  EXPECT_TRUE(Windows().liveBlocks.empty());
  ExpectNotices({});
}

INSTANTIATE_TEST_SUITE_P(Entry, ShortTable,
                         ::testing::Values(0, sizeof(DWORD),
                                           offsetof(CHANNEL_ENTRY_POINTS, pVirtualChannelOpen),
                                           offsetof(CHANNEL_ENTRY_POINTS, pVirtualChannelOpen) +
                                               sizeof(PVIRTUALCHANNELOPEN) - 1));

}  // namespace
