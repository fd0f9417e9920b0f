#include "plugin/state.h"

PCHANNEL_ENTRY_POINTS gEntryPoints;
LPVOID gInitHandle;
DWORD gOpenHandle;

void ReleaseEntryPoints() {
  if (gEntryPoints == NULL) return;
  LocalFree(gEntryPoints);
  gEntryPoints = NULL;
}
