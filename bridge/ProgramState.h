#pragma once
#include "tasks/BackgroundTask.h"

#include <atomic>
#include <cstdint>
#include <string>

// Program-wide values of the main window, owned by the UI thread (isSearchRunning is also written
// by the search body on a pool thread).
extern TaskHandle FTaskControl; // the latest catalogue task, empty when none is held
extern bool RequestCancelled;   // the main window is closing: completions do nothing
extern std::atomic<bool> isSearchRunning;
extern bool isDragging;
extern int PageHome;                 // last home page requested
extern int PageToJump;               // zero-based page at which the next book opens
extern int TotalHomeContent;         // home sections delivered so far
extern int CountHomeContent;         // home sections in all
extern std::string KalimatPencarian; // phrase of the last sentence search
extern int readCount;                // books open in the reader
extern bool ReadFromSearch;
extern bool ReadFromChart;
// Annotation tool colours, 0x00BBGGRR.
extern std::uint32_t clHighlighter;
extern std::uint32_t clRectangle;
extern std::uint32_t clPen;

// The most books a member may have open at once.
inline constexpr int MaxOpenBooks = 3;

// Sets the values the main window's creation sets (the home counters and the search phrase keep
// theirs, which are 0 and empty when the program starts).
void resetMainWindowState();
