#include <stddef.h>
#include <string.h>

#include "platform/channel.h"
#include "plugin/init_event.h"
#include "plugin/notice.h"
#include "plugin/state.h"

// The end of the last field the add-in reads from the table.
constexpr DWORD kEntryPointsNeeded =
    offsetof(CHANNEL_ENTRY_POINTS, pVirtualChannelOpen) + sizeof(PVIRTUALCHANNELOPEN);

// The library's only export. On Windows the module-definition file gives it its
// undecorated name; elsewhere the version script keeps every other symbol local.
extern "C" BOOL VCAPITYPE VirtualChannelEntry(PCHANNEL_ENTRY_POINTS pEntryPoints) {
  // The table is copied whole, as long as the host says it is, so every later
  // call reaches the host through our copy and never through the host's table.
  DWORD cbSize = pEntryPoints->cbSize;
  if (cbSize < kEntryPointsNeeded) return FALSE;
  gEntryPoints = static_cast<PCHANNEL_ENTRY_POINTS>(LocalAlloc(LMEM_ZEROINIT, cbSize));
  if (gEntryPoints == NULL) return FALSE;
  memcpy(gEntryPoints, pEntryPoints, cbSize);

  CHANNEL_DEF channelDef;
  memcpy(channelDef.name, kChannelName, sizeof(channelDef.name));
  channelDef.options = 0;

  UINT rc = gEntryPoints->pVirtualChannelInit(
      &gInitHandle, &channelDef, 1, VIRTUAL_CHANNEL_VERSION_WIN2000, VirtualChannelInitEvent);
  if (rc != CHANNEL_RC_OK) {
    ShowNotice("RDP Virtual channel Init Failed");
    // A refused add-in gets no events, so no termination would ever free the copy.
    ReleaseEntryPoints();
    return FALSE;
  }
  // After an accepted registration the copy stays until CHANNEL_EVENT_TERMINATED,
  // whatever the result: the host may still send events.
  return channelDef.options == CHANNEL_OPTION_INITIALIZED ? TRUE : FALSE;
}
