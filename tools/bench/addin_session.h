// Loads the add-in and plays the host up to an open channel, as the client does.
#pragma once

#include "platform/channel.h"

// The open-event handler the add-in named at the open, or nullptr after a
// message on standard error.
PCHANNEL_OPEN_EVENT_FN ConnectAddin(const char* pPath);
