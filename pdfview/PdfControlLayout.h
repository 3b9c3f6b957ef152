#pragma once

// How the view control sizes and places one page: pure arithmetic, no window involved. Layout extents are
// device-independent pixels; a screen with a device pixel ratio above 1 has more pixels than that.

enum class TPdfControlScaleMode { smFitAuto, smFitWidth, smFitHeight, smZoom };

struct TPdfControlLayoutInput {
    double PageWidth = 0;     // points
    double PageHeight = 0;    // points
    bool QuarterTurn = false; // rotated by 90 degrees either way: page sides and resolutions swap
    double DpiX = 96;
    double DpiY = 96;
    TPdfControlScaleMode ScaleMode = TPdfControlScaleMode::smFitAuto;
    int ZoomPercentage = 100;
    int Width = 0; // the control's size, scroll bars included
    int Height = 0;
    int HorzScrollBarHeight = 0; // the system's scroll bar extents
    int VertScrollBarWidth = 0;
};

struct TPdfControlLayout {
    int DrawWidth = 0;
    int DrawHeight = 0;
    bool HorzScrollBar = false; // shown, with range 0..DrawWidth and page ClientWidth
    bool VertScrollBar = false;
    int ClientWidth = 0; // the control's size less the shown scroll bars
    int ClientHeight = 0;
};

TPdfControlLayout computePdfControlLayout(const TPdfControlLayoutInput &in);

// Top-left corner of the page: centred in the free space (never below 0), moved by the scroll positions.
int pdfControlPageOffset(int clientExtent, int drawExtent, int scrollPosition);

// Screen pixels of `extent` device-independent pixels at that device pixel ratio.
int pdfControlDevicePixels(int extent, double pixelRatio);

// Whether a page drawn at drawWidth x drawHeight is rendered straight onto the view on each paint instead of
// being kept as an image: when it is larger than the control (width x height) and than the largest image
// kept, counted in screen pixels.
bool pdfControlDrawsDirectly(int drawWidth, int drawHeight, int width, int height, double pixelRatio);
