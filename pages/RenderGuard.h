#pragma once
#include <functional>
#include <string_view>

// Runs one render; any error it raises is shown in an error box as `prefix` + the error's message,
// and the render ends there (the view is left as it was).
void renderGuarded(std::string_view prefix, const std::function<void()> &render);
