#pragma once
#include <functional>
#include <string>
#include <string_view>

// Runs one render; any error it raises goes to `report` as `prefix` + the error's message (to standard
// error when `report` is empty), and the render ends there (the view is left as it was).
void renderGuarded(const std::function<void(const std::string &)> &report, std::string_view prefix,
                   const std::function<void()> &render);
