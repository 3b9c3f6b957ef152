#include "app/AppGlobals.h"

TFormSplash *FormSplash = nullptr;
TRuvasaLib *RuvasaLib = nullptr;
std::atomic<bool> SignalUpdate = false;
QString UpdateURL;
