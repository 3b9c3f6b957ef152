#pragma once
#include "pages/PageText.h"

// The inline scripts of the book grid pages (without their script element).

// Defines readyFunctionScript() (stars, lazy loader, back-to-top) and runs it on document ready.
void listPageScript(PageText &out);

// Defines readyFunctionScript(X) of the home page; X == 1 also opens the introduction dialog.
void homePageScript(PageText &out);
