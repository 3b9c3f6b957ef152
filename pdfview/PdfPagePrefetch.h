#pragma once
#include "pdf/PdfiumCore.h"

#include <QColor>
#include <QImage>
#include <QSize>

#include <functional>
#include <future>

// Renders one page at a given size over a background colour into a 32-bit image; `reuse` lends its pixels
// when it has that size and format and nobody else shares them.
QImage renderPageImage(TPdfPage &page, QSize size, TPdfPageRotation rotation, TPdfPageRenderOptions options,
                       QColor background, QImage reuse = QImage());

// What a page image was rendered for; an image is reused only when all of it matches.
struct TPdfPageImageKey {
    int PageIndex = -1;
    QSize Size; // in screen pixels
    TPdfPageRotation Rotation = prNormal;
    TPdfPageRenderOptions Options;
    QRgb Background = 0;
    bool operator==(const TPdfPageImageKey &) const = default;
};

// Renders a page the view is likely to show next on a thread of its own, so that turning to it only
// copies the image. One rendering at most is in flight; the document's own lock serialises it with the
// UI thread's use of the document. The thread is started and its result taken through the standard
// library, whose hand-over a race detector sees (a Qt pool's, inside Qt, it cannot).
class TPdfPagePrefetch {
public:
    // Tells the drawn size of a page from its size in points; runs on the rendering thread.
    using SizeOfPage = std::function<QSize(double pageWidth, double pageHeight)>;

    TPdfPagePrefetch() = default;
    ~TPdfPagePrefetch();
    TPdfPagePrefetch(const TPdfPagePrefetch &) = delete;
    TPdfPagePrefetch &operator=(const TPdfPagePrefetch &) = delete;

    // Starts rendering page `key.PageIndex` of `document` (key.Size is ignored: `sizeOf` decides).
    // Waits for a rendering still in flight first.
    void Start(TPdfDocument &document, TPdfPageImageKey key, SizeOfPage sizeOf);
    // The rendered image when it was made for exactly `key` (waiting for it if needed), else a null image.
    QImage Take(const TPdfPageImageKey &key);
    // Waits for a rendering in flight and forgets its result; its page's engine handles are released
    // unless that page is `keepPageIndex`.
    void Discard(int keepPageIndex = -1);
    bool Pending() const { return FRunning; }
    void WaitForFinished() const;

private:
    struct Result {
        TPdfPageImageKey Key;
        QImage Image;
    };
    Result Collect();
    void ReleasePage(const Result &result, int keepPageIndex);

    TPdfDocument *FDocument = nullptr;
    mutable std::future<Result> FFuture;
    bool FRunning = false;
};
