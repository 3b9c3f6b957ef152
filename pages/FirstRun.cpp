#include "pages/FirstRun.h"

int FirstRun = 1;
