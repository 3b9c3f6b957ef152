#pragma once
#include <functional>

// Runs `call` on the UI thread, after the calls posted before it. The call crosses under a lock of
// ours and Qt's event only says that one is waiting, so whatever the posting thread wrote before
// posting is ordered before the call in a way a race detector sees, not only by Qt's event queue,
// which it cannot see into. Callable from any thread once the application object exists.
void postToUiThread(std::function<void()> call);
