#pragma once

// 1 until the first home page of this run has been written, 2 afterwards; the home page script
// opens the introduction dialog only for 1. Owned by the UI thread.
extern int FirstRun;
