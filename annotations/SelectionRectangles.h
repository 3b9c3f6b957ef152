#pragma once
#include <QRect>

#include <vector>

class TPdfControl;

// The device rectangles of a view's selected characters, as the engine gives them for the page shown;
// none without a selection.
std::vector<QRect> selectionRectangles(TPdfControl &view);
