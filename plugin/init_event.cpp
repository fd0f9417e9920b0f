#include "plugin/init_event.h"

#include "plugin/notice.h"
#include "plugin/state.h"
#include "printjob/open_event.h"

VOID VCAPITYPE VirtualChannelInitEvent(LPVOID pInitHandle, UINT event, LPVOID pData,
                                       UINT dataLength) {
  (void)pInitHandle;
  (void)pData;
  (void)dataLength;
  switch (event) {
    case CHANNEL_EVENT_CONNECTED:
      // No copy means termination has already released it: there is nothing to open with.
      if (gEntryPoints == NULL) return;
      // The host only reads the channel name; its parameter is not const.
      if (gEntryPoints->pVirtualChannelOpen(gInitHandle, &gOpenHandle,
                                            const_cast<PCHAR>(kChannelName),
                                            VirtualChannelOpenEvent) != CHANNEL_RC_OK) {
        ShowNotice("Open of RDP virtual channel failed");
      }
      return;
    case CHANNEL_EVENT_V1_CONNECTED:
      ShowNotice("Connecting to a non Windows 2000 Terminal Server");
      return;
    case CHANNEL_EVENT_TERMINATED:
      ReleaseEntryPoints();
      return;
    default:
      return;
  }
}
