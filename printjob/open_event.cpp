#include "printjob/open_event.h"

#include "printjob/spool.h"

// Set when a chunk of the document being received could not be stored, so that
// the rest of it is dropped and nothing holed or truncated is printed. The next
// document's first chunk clears it.
static BOOL gDocumentDropped;

VOID VCAPITYPE VirtualChannelOpenEvent(DWORD openHandle, UINT event, LPVOID pData,
                                       UINT32 dataLength, UINT32 totalLength, UINT32 dataFlags) {
  (void)openHandle;
  (void)totalLength;
  // Write-complete and write-cancelled carry the add-in's own user pointer, not data.
  if (event != CHANNEL_EVENT_DATA_RECEIVED) return;

  if (dataFlags & CHANNEL_FLAG_FIRST) gDocumentDropped = !StartSpoolFile();
  if (gDocumentDropped) return;

  if (!AppendToSpoolFile(pData, dataLength)) {
    gDocumentDropped = TRUE;
    return;
  }
  if (dataFlags & CHANNEL_FLAG_LAST) PrintSpoolFile();
}
