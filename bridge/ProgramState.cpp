#include "bridge/ProgramState.h"

TaskHandle FTaskControl;
bool RequestCancelled = false;
std::atomic<bool> isSearchRunning = false;
bool isDragging = false;
int PageHome = 0;
int PageToJump = 0;
int TotalHomeContent = 0;
int CountHomeContent = 0;
std::string KalimatPencarian;
int readCount = 0;
bool ReadFromSearch = false;
bool ReadFromChart = false;
std::uint32_t clHighlighter = 0xffff;
std::uint32_t clRectangle = 255;
std::uint32_t clPen = 0xff0000;

void resetMainWindowState() {
    FTaskControl.reset();
    RequestCancelled = false;
    isSearchRunning = false;
    isDragging = false;
    PageHome = 0;
    PageToJump = 0;
    readCount = 0;
    ReadFromSearch = false;
    ReadFromChart = false;
}
