#include "pdfview/PdfControlLayout.h"

#include "pdfview/PdfControlMetrics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// Rounds to the nearest integer, ties to even, within +-MaxDrawExtent (a page far longer than wide, or a
// huge page at a large zoom, gives sizes beyond int); not-a-number counts as 0.
int roundEven(double value) {
    constexpr double limit = PdfControlMetrics::MaxDrawExtent;
    return std::isnan(value) ? 0 : static_cast<int>(std::nearbyint(std::clamp(value, -limit, limit)));
}

int clampToInt(qint64 value) {
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

struct Size {
    int w;
    int h;
};

Size drawnSize(const TPdfControlLayoutInput &in, double pageW, double pageH, double dpiX, double dpiY,
               int availW, int availH) {
    const auto fitHeight = [&] { return Size{roundEven(availH * pageW / pageH), availH}; };
    const auto fitWidth = [&] { return Size{availW, roundEven(availW * pageH / pageW)}; };
    switch (in.ScaleMode) {
    case TPdfControlScaleMode::smFitHeight:
        return fitHeight();
    case TPdfControlScaleMode::smFitWidth:
        return fitWidth();
    case TPdfControlScaleMode::smFitAuto: {
        const Size s = fitHeight();
        return s.w > availW ? fitWidth() : s;
    }
    case TPdfControlScaleMode::smZoom:
        return Size{roundEven(pageW / 72 * dpiX * in.ZoomPercentage / 100),
                    roundEven(pageH / 72 * dpiY * in.ZoomPercentage / 100)};
    }
    return Size{0, 0};
}

} // namespace

TPdfControlLayout computePdfControlLayout(const TPdfControlLayoutInput &in) {
    double pageW = in.PageWidth, pageH = in.PageHeight, dpiX = in.DpiX, dpiY = in.DpiY;
    if (in.QuarterTurn) {
        std::swap(pageW, pageH);
        std::swap(dpiX, dpiY);
    }
    int availW = in.Width, availH = in.Height;
    Size s = drawnSize(in, pageW, pageH, dpiX, dpiY, availW, availH);
    bool horzTaken = false;
    if (s.w > availW) {
        availH -= in.HorzScrollBarHeight;
        horzTaken = true;
        s = drawnSize(in, pageW, pageH, dpiX, dpiY, availW, availH);
    }
    if (s.h > availH) {
        availW -= in.VertScrollBarWidth;
        s = drawnSize(in, pageW, pageH, dpiX, dpiY, availW, availH);
    }
    // A horizontal bar that only became necessary after the vertical one took its width still takes
    // its height from the client, so the bottom rows of the page stay reachable.
    if (s.w > availW && !horzTaken)
        availH -= in.HorzScrollBarHeight;

    TPdfControlLayout out;
    out.DrawWidth = s.w;
    out.DrawHeight = s.h;
    out.HorzScrollBar = s.w > availW;
    out.VertScrollBar = s.h > availH;
    out.ClientWidth = availW;
    out.ClientHeight = availH;
    return out;
}

int pdfControlPageOffset(int clientExtent, int drawExtent, int scrollPosition) {
    return clampToInt(std::max<qint64>(0, (qint64(clientExtent) - drawExtent) / 2) - scrollPosition);
}

int pdfControlDevicePixels(int extent, double pixelRatio) {
    return clampToInt(std::llround(std::clamp(extent * pixelRatio, -0x1p62, 0x1p62)));
}

bool pdfControlDrawsDirectly(int drawWidth, int drawHeight, int width, int height, double pixelRatio) {
    const auto pixels = [pixelRatio](int w, int h) {
        return qint64(pdfControlDevicePixels(w, pixelRatio)) * pdfControlDevicePixels(h, pixelRatio);
    };
    const qint64 page = pixels(drawWidth, drawHeight);
    return page > pixels(width, height) && page > PdfControlMetrics::DirectDrawPixels;
}
