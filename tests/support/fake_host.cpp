#include "tests/support/fake_host.h"

#include <algorithm>
#include <cstring>

#include "tests/support/windows_double.h"

namespace {
FakeHost* gHost = new FakeHost;

UINT VCAPITYPE FakeVirtualChannelInit(LPVOID* ppInitHandle, PCHANNEL_DEF pChannel, INT channelCount,
                                      ULONG versionRequested,
                                      PCHANNEL_INIT_EVENT_FN pChannelInitEventProc) {
  FakeHost& host = Host();
  InitCall call{
      ppInitHandle,
      std::vector<CHANNEL_DEF>(pChannel, pChannel + (channelCount > 0 ? channelCount : 0)),
      channelCount,
      versionRequested,
      pChannelInitEventProc,
      {}};
  const std::vector<void*>& blocks = Windows().liveBlocks;
  if (!blocks.empty()) {
    auto* copy = static_cast<unsigned char*>(blocks.back());
    call.entryPointsCopy.assign(copy, copy + Windows().allocationSizes.back());
  }
  host.inits.push_back(call);
  if (host.initResult == CHANNEL_RC_OK) *ppInitHandle = host.initHandle;
  for (INT i = 0; i < channelCount; ++i) pChannel[i].options = host.optionsToSet;
  return host.initResult;
}

UINT VCAPITYPE FakeVirtualChannelOpen(LPVOID pInitHandle, LPDWORD pOpenHandle, PCHAR pChannelName,
                                      PCHANNEL_OPEN_EVENT_FN pChannelOpenEventProc) {
  FakeHost& host = Host();
  host.opens.push_back({pInitHandle, pOpenHandle, pChannelName, pChannelOpenEventProc});
  if (host.openResult == CHANNEL_RC_OK) *pOpenHandle = host.nextOpenHandle++;
  return host.openResult;
}

UINT VCAPITYPE UnusedClose(DWORD) { return CHANNEL_RC_OK; }
UINT VCAPITYPE UnusedWrite(DWORD, LPVOID, ULONG, LPVOID) { return CHANNEL_RC_OK; }
}  // namespace

FakeHost& Host() { return *gHost; }

void ResetHost() { *gHost = FakeHost(); }

std::vector<unsigned char> MakeEntryPoints(DWORD cbSize) {
  // Exactly as long as it says, so that reading past cbSize is an overflow.
  std::vector<unsigned char> table(std::max<size_t>(cbSize, sizeof(DWORD)));
  for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<unsigned char>(0x40 + i);
  CHANNEL_ENTRY_POINTS known{cbSize,
                             VIRTUAL_CHANNEL_VERSION_WIN2000,
                             FakeVirtualChannelInit,
                             FakeVirtualChannelOpen,
                             UnusedClose,
                             UnusedWrite};
  std::memcpy(table.data(), &known, std::min(table.size(), sizeof(known)));
  return table;
}
