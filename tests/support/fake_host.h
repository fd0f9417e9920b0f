// A host for the tests: its VirtualChannelInit and VirtualChannelOpen record
// their arguments and answer as the case says.
#pragma once

#include <string>
#include <vector>

#include "platform/channel.h"

struct InitCall {
  LPVOID* ppInitHandle;
  std::vector<CHANNEL_DEF> channels;  // as handed over, before the host writes options
  INT channelCount;
  ULONG versionRequested;
  PCHANNEL_INIT_EVENT_FN pChannelInitEventProc;
  std::vector<unsigned char> entryPointsCopy;  // the add-in's live copy, as seen during the call
};

struct OpenCall {
  LPVOID pInitHandle;
  LPDWORD pOpenHandle;
  std::string channelName;
  PCHANNEL_OPEN_EVENT_FN pChannelOpenEventProc;
};

struct FakeHost {
  // How the host answers.
  UINT initResult = CHANNEL_RC_OK;
  ULONG optionsToSet = CHANNEL_OPTION_INITIALIZED;
  LPVOID initHandle = reinterpret_cast<LPVOID>(0x1D17);
  UINT openResult = CHANNEL_RC_OK;
  DWORD nextOpenHandle = 100;  // each successful open hands out the next value

  // What the add-in asked of it.
  std::vector<InitCall> inits;
  std::vector<OpenCall> opens;
};

FakeHost& Host();
void ResetHost();

// Extra bytes beyond the fields the add-in knows, as a newer host may hand over.
constexpr DWORD kEntryPointsExtra = 24;

// A table of the host's operations, cbSize covering the extra bytes, which
// hold a pattern.
std::vector<unsigned char> MakeEntryPoints(DWORD cbSize = sizeof(CHANNEL_ENTRY_POINTS) +
                                                          kEntryPointsExtra);
