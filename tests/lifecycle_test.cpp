// The session events: opening the channel at each connection, the notices, and
// releasing the state at termination.
#include <dlfcn.h>

#include <functional>

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

// Each notice case runs with a MessageBoxA that works and one that fails: the add-in
// goes on the same either way.
class Notices : public AddinTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    Windows().noticeResult = GetParam();
  }
};

TEST_P(Notices, EachFailedOpenShowsItsOwnNotice) {
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

TEST_P(Notices, ServerWithoutVirtualChannelsShowsOneNoticeAndOpensNothing) {
  ASSERT_TRUE(Enter());
  Event(CHANNEL_EVENT_V1_CONNECTED);
  EXPECT_TRUE(Host().opens.empty());
  ExpectNotices({"Connecting to a non Windows 2000 Terminal Server"});
  EXPECT_EQ(Windows().liveBlocks.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Lifecycle, Notices, ::testing::Values(IDOK, 0),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == IDOK ? "Shown" : "MessageBoxFails";
                         });

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

// A host that goes on after termination, with LocalFree having worked or failed
// there: the copy is freed once, nothing is read through it, nothing is left.
struct AfterTerminationCase {
  const char* name;
  bool freeFails;
  std::function<void(AddinTest&)> laterCall;
  std::vector<std::string> notices;
};

void PrintTo(const AfterTerminationCase& c, std::ostream* os) { *os << c.name; }

class AfterTermination : public AddinTest,
                         public ::testing::WithParamInterface<AfterTerminationCase> {};

TEST_P(AfterTermination, FreesTheCopyOnceAndTouchesNothingLater) {
  const AfterTerminationCase& c = GetParam();
  Connect();
  Windows().failLocalFree = c.freeFails;
  void* copy = Windows().liveBlocks.at(0);
  Event(CHANNEL_EVENT_TERMINATED);
  EXPECT_EQ(Windows().freedBlocks, std::vector<void*>{copy});

  c.laterCall(*this);
  EXPECT_EQ(Windows().freedBlocks, std::vector<void*>{copy});
  EXPECT_TRUE(Windows().liveBlocks.empty());
  EXPECT_EQ(Host().opens.size(), 1u);
  ExpectNotices(c.notices);
}

void Terminate(AddinTest& t) { t.Event(CHANNEL_EVENT_TERMINATED); }
void Reconnect(AddinTest& t) { t.Event(CHANNEL_EVENT_CONNECTED); }

INSTANTIATE_TEST_SUITE_P(
    Lifecycle, AfterTermination,
    ::testing::Values(
        AfterTerminationCase{"SecondTermination", false, Terminate, {}},
        AfterTerminationCase{"Connection", false, Reconnect, {}},
        AfterTerminationCase{"SecondTerminationAfterAFailedFree", true, Terminate, {}},
        AfterTerminationCase{"ConnectionAfterAFailedFree", true, Reconnect, {}},
        AfterTerminationCase{
            "QuietEvents",
            false,
            [](AddinTest& t) {
              for (UINT event : {CHANNEL_EVENT_INITIALIZED, CHANNEL_EVENT_DISCONNECTED, 5, 6}) {
                t.Event(event);
              }
            },
            {}},
        // Needs none of the released state, so it still tells the user.
        AfterTerminationCase{"ServerWithoutVirtualChannels",
                             false,
                             [](AddinTest& t) { t.Event(CHANNEL_EVENT_V1_CONNECTED); },
                             {"Connecting to a non Windows 2000 Terminal Server"}},
        // The receiver reads none of the released state: a late document still prints.
        AfterTerminationCase{"LateDocument",
                             false,
                             [](AddinTest& t) {
                               t.Send("late");
                               EXPECT_EQ(ReadSpool(), "late");
                               EXPECT_EQ(Windows().prints.size(), 1u);
                             },
                             {}}),
    [](const ::testing::TestParamInfo<AfterTerminationCase>& info) { return info.param.name; });

}  // namespace
