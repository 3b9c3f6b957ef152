#pragma once
#include <QString>

#include <atomic>

class TFormSplash;
class TRuvasaLib;

// The splash window: created first, hidden after start-up, destroyed by the main window's close.
extern TFormSplash *FormSplash;
// The one service client; created and destroyed by the splash.
extern TRuvasaLib *RuvasaLib;
// True only when the service offered an update and the member accepted it.
extern std::atomic<bool> SignalUpdate;
// The update location the service gave with its offer (written before the offer is shown).
extern QString UpdateURL;
