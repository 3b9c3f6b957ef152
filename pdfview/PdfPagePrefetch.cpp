#include "pdfview/PdfPagePrefetch.h"

#include <mutex>

QImage renderPageImage(TPdfPage &page, QSize size, TPdfPageRotation rotation, TPdfPageRenderOptions options,
                       QColor background, QImage reuse) {
    QImage image = reuse.size() == size && reuse.format() == QImage::Format_RGB32
                       ? std::move(reuse)
                       : QImage(size, QImage::Format_RGB32);
    image.fill(background);
    TPdfBitmap bitmap(image);
    page.DrawToPdfBitmap(bitmap, 0, 0, size.width(), size.height(), rotation, options);
    return image;
}

TPdfPagePrefetch::~TPdfPagePrefetch() {
    WaitForFinished();
}

void TPdfPagePrefetch::WaitForFinished() const {
    if (FRunning)
        FFuture.wait();
}

void TPdfPagePrefetch::Start(TPdfDocument &document, TPdfPageImageKey key, SizeOfPage sizeOf) {
    Discard(key.PageIndex);
    FDocument = &document;
    FRunning = true;
    FFuture = std::async(std::launch::async, [&document, key, sizeOf = std::move(sizeOf)]() mutable {
        Result result;
        // Held throughout, so the document cannot close under the page in use.
        const std::lock_guard lock(document.Mutex());
        try {
            TPdfPage *page = document.GetPage(key.PageIndex);
            key.Size = sizeOf(page->Width(), page->Height());
            result.Key = key;
            if (!key.Size.isEmpty())
                result.Image =
                    renderPageImage(*page, key.Size, key.Rotation, key.Options, QColor(key.Background));
        } catch (const std::exception &) {
            // A page that cannot be rendered ahead is rendered, and its error reported, when shown.
            result.Image = QImage();
        }
        return result;
    });
}

TPdfPagePrefetch::Result TPdfPagePrefetch::Collect() {
    Result result = FFuture.get();
    FRunning = false;
    return result;
}

void TPdfPagePrefetch::ReleasePage(const Result &result, int keepPageIndex) {
    const int index = result.Key.PageIndex;
    if (index >= 0 && index != keepPageIndex && FDocument && FDocument->Active() &&
        index < FDocument->PageCount())
        FDocument->GetPage(index)->Close();
}

QImage TPdfPagePrefetch::Take(const TPdfPageImageKey &key) {
    if (!FRunning)
        return QImage();
    const Result result = Collect();
    if (result.Key == key)
        return result.Image;
    ReleasePage(result, key.PageIndex);
    return QImage();
}

void TPdfPagePrefetch::Discard(int keepPageIndex) {
    if (FRunning)
        ReleasePage(Collect(), keepPageIndex);
}
