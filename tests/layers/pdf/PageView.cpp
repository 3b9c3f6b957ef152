// A view control that reaches up into the reader: the include check must name this line.
#include "pdf/PageView.h"
#include "reader/ReaderPanel.h"
