#pragma once
#include <functional>

// Runs the UI event loop until `done` holds; false when it still does not after `timeoutMs`.
bool processUntil(const std::function<bool()> &done, int timeoutMs = 30000);
