#pragma once
#include "service/JsonDocument.h"

#include <string>

// Puts the institution's colours into the page stylesheet: in each line that contains
// "[WARNA_BUTTON_LOGIN]" (in any letter case) every exact "[WARNA_BUTTON_LOGIN]" becomes
// "data"."warna_button_login" of `profile`; then, likewise, "[WARNA_HOVER_BUTTON_LOGIN]" becomes
// "data"."warna_hover_button_login". Lines and line endings are otherwise kept.
std::string brandedStylesheet(const std::string &stylesheet, const JsonDocument &profile);

// Applies brandedStylesheet to the file `stylePath` in place. Throws std::runtime_error when the file
// cannot be read or written.
void applyBranding(const std::string &stylePath, const JsonDocument &profile);
