#pragma once
#include "tasks/BackgroundTask.h"

#include <cstdint>
#include <string>

// The values the program keeps once for the whole main window. The main window owns the one object and
// hands it to the library and the reader; a test makes a fresh one. Only the UI thread touches it: a
// search sets isSearchRunning before its task starts and clears it in the task's completion.
struct ProgramState {
    TaskHandle FTaskControl;       // the latest catalogue task, empty when none is held
    bool RequestCancelled = false; // the main window is closing: completions do nothing
    bool isSearchRunning = false;
    bool isDragging = false;
    int PageHome = 0;             // last home page requested
    int TotalHomeContent = 0;     // home sections delivered so far
    int CountHomeContent = 0;     // home sections in all
    std::string KalimatPencarian; // phrase of the last sentence search
    int readCount = 0;            // books open in the reader
    // Annotation tool colours, 0x00BBGGRR.
    std::uint32_t clHighlighter = 0xffff;
    std::uint32_t clRectangle = 255;
    std::uint32_t clPen = 0xff0000;
};

// The most books a member may have open at once.
inline constexpr int MaxOpenBooks = 3;
