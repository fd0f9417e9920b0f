// The plug-in state: process-wide, zero when the library is loaded. The host calls
// the entry and the init-event handler one at a time, so no lock guards it.
#pragma once

#include "platform/channel.h"

// The add-in's own copy of the host's entry-point table, or NULL while there is none.
extern PCHANNEL_ENTRY_POINTS gEntryPoints;
// Stored by the host inside VirtualChannelInit.
extern LPVOID gInitHandle;
// Stored by the host inside each VirtualChannelOpen; the add-in never reads it.
extern DWORD gOpenHandle;

// The one channel this add-in registers and opens; it fills CHANNEL_DEF::name with its NUL.
constexpr char kChannelName[] = "QUARVEN";
static_assert(sizeof(kChannelName) == sizeof(CHANNEL_DEF::name), "name fills the 8 bytes");

// Frees the copy of the entry-point table, if there is one, and forgets it.
void ReleaseEntryPoints();
