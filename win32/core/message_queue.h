// The one message queue of the process (one thread, as on the platform's
// user-interface thread). Internal to the layer.
#pragma once

#include <windows.h>

// Milliseconds since the layer started, the clock of MSG::time.
DWORD MessageClock();

// Whether the queue holds a posted message (WM_QUIT counted when requested).
bool QueueHasMessages();
