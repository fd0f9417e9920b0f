// The session events: opening the channel at each connection, the notices, and
// releasing the state at termination.
#include <dlfcn.h>

#include "tests/support/addin_test.h"

namespace {

using LifecycleTest = AddinTest;

const char* kOpenFailed = "Open of RDP virtual channel failed";

TEST_F(LifecycleTest, ConnectionOpensQuarvenWithTheStoredInitHandle) {
  ASSERT_TRUE(Enter());
  // The event's own handle argument differs; the add-in uses what the host stored.
  Event(CHANNEL_EVENT_CONNECTED, reinterpret_cast<LPVOID>(0xBAD));

  ASSERT_EQ(Host().opens.size(), 1u);
  const OpenCall& open = Host().opens[0];
  EXPECT_EQ(open.pInitHandle, Host().initHandle);
  EXPECT_EQ(open.channelName, "QUARVEN");
  EXPECT_NE(open.pChannelOpenEventProc, nullptr);
  Dl_info owner;
  ASSERT_NE(dladdr(open.pOpenHandle, &owner), 0);
  EXPECT_STREQ(owner.dli_fname, QUARVEN_ADDIN_PATH);
  ExpectNotices({});
}

TEST_F(LifecycleTest, EveryConnectionOpensAgainAndKeepsTheNewestHandle) {
  ASSERT_TRUE(Enter());
  for (UINT event : {CHANNEL_EVENT_CONNECTED, CHANNEL_EVENT_DISCONNECTED, CHANNEL_EVENT_CONNECTED,
                     CHANNEL_EVENT_CONNECTED}) {
    Event(event);
  }
  ASSERT_EQ(Host().opens.size(), 3u);
  for (const OpenCall& open : Host().opens) {
    EXPECT_EQ(open.pInitHandle, Host().opens[0].pInitHandle);
    EXPECT_EQ(open.pOpenHandle, Host().opens[0].pOpenHandle);
    EXPECT_EQ(open.channelName, "QUARVEN");
    EXPECT_EQ(open.pChannelOpenEventProc, Host().opens[0].pChannelOpenEventProc);
  }
  EXPECT_EQ(*Host().opens[0].pOpenHandle, Host().nextOpenHandle - 1);
  ExpectNotices({});
}

TEST_F(LifecycleTest, EachFailedOpenShowsItsOwnNotice) {
  ASSERT_TRUE(Enter());
  Host().openResult = 5;
  Event(CHANNEL_EVENT_CONNECTED);
  Event(CHANNEL_EVENT_DISCONNECTED);
  Event(CHANNEL_EVENT_CONNECTED);
  EXPECT_EQ(Host().opens.size(), 2u);
  ExpectNotices({kOpenFailed, kOpenFailed});

  // Nothing is remembered of the failures: the next connection opens as usual.
  Host().openResult = CHANNEL_RC_OK;
  Event(CHANNEL_EVENT_CONNECTED);
  EXPECT_EQ(Host().opens.size(), 3u);
  EXPECT_EQ(Windows().notices.size(), 2u);
}

TEST_F(LifecycleTest, ServerWithoutVirtualChannelsShowsOneNoticeAndOpensNothing) {
  ASSERT_TRUE(Enter());
  Event(CHANNEL_EVENT_V1_CONNECTED);
  EXPECT_TRUE(Host().opens.empty());
  ExpectNotices({"Connecting to a non Windows 2000 Terminal Server"});
}

class QuietEvent : public AddinTest, public ::testing::WithParamInterface<UINT> {};

TEST_P(QuietEvent, CallsNothingShowsNothingFreesNothing) {
  ASSERT_TRUE(Enter());
  Windows().calls.clear();
  Event(GetParam());
  EXPECT_TRUE(Host().opens.empty());
  EXPECT_TRUE(Windows().calls.empty());
  EXPECT_EQ(Windows().liveBlocks.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Lifecycle, QuietEvent,
                         ::testing::Values(CHANNEL_EVENT_INITIALIZED, CHANNEL_EVENT_DISCONNECTED, 5,
                                           6, CHANNEL_EVENT_DATA_RECEIVED, 0xFFFFFFFF));

TEST_F(LifecycleTest, TerminationFreesTheCopyOnceAndLaterEventsTouchNothing) {
  ASSERT_TRUE(Enter());
  void* copy = Windows().liveBlocks.at(0);
  Event(CHANNEL_EVENT_TERMINATED);
  EXPECT_EQ(Windows().freedBlocks, std::vector<void*>{copy});
  ExpectNotices({});

  // A host that goes on after termination: no second free, no open through freed memory.
  Event(CHANNEL_EVENT_TERMINATED);
  Event(CHANNEL_EVENT_CONNECTED);
  EXPECT_EQ(Windows().freedBlocks.size(), 1u);
  EXPECT_TRUE(Host().opens.empty());
  ExpectNotices({});
}

}  // namespace
