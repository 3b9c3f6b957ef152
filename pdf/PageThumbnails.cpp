#include "pdf/PageThumbnails.h"

#include "pdf/EngineContext.h"
#include "pdf/PdfiumCore.h"

#include <algorithm>

namespace {

// Fonts and images the pages of one book share: small, as a thumbnail needs little of them.
constexpr std::size_t ThumbnailEngineStore = std::size_t(2) << 20;

QImage renderThumbnail(TPdfDocument &document, int pageIndex, QSize box) {
    TPdfPage *page = document.GetPage(pageIndex);
    const QSize size = QSizeF(page->Width(), page->Height()).scaled(box, Qt::KeepAspectRatio).toSize();
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    TPdfBitmap bitmap(image);
    page->DrawToPdfBitmap(bitmap, 0, 0, image.width(), image.height(), prNormal, proAnnotations);
    page->Close(); // each page is rendered once: its engine page is not kept
    return image;
}

} // namespace

PageThumbnails::PageThumbnails(QByteArray bytes, QSize box, std::size_t byteCap, Rendered rendered)
    : bytes(std::move(bytes)), box(box), byteCap(byteCap), rendered(std::move(rendered)),
      worker([this] { work(); }) {}

PageThumbnails::~PageThumbnails() {
    {
        const std::lock_guard lock(mutex);
        stopping = true;
        waiting.clear();
    }
    wake.notify_all();
    worker.join();
}

std::size_t PageThumbnails::bytesPerThumbnail(QSize box) {
    return std::size_t(std::max(box.width(), 1)) * std::size_t(std::max(box.height(), 1)) * 4;
}

void PageThumbnails::request(const std::vector<int> &order) {
    {
        const std::lock_guard lock(mutex);
        waiting.clear();
        for (int page : order)
            if (!store.contains(page) && !unrenderable.contains(page))
                waiting.push_back(page);
    }
    wake.notify_all();
    idle.notify_all();
}

QImage PageThumbnails::thumbnail(int pageIndex) {
    const std::lock_guard lock(mutex);
    const auto found = store.find(pageIndex);
    if (found == store.end())
        return {};
    uses.splice(uses.begin(), uses, found->second.use);
    return found->second.image;
}

std::size_t PageThumbnails::heldBytes() const {
    const std::lock_guard lock(mutex);
    return bytesHeld;
}

std::size_t PageThumbnails::heldCount() const {
    const std::lock_guard lock(mutex);
    return store.size();
}

void PageThumbnails::waitUntilIdle() {
    std::unique_lock lock(mutex);
    idle.wait(lock, [this] { return stopping || (waiting.empty() && !inHand); });
}

// Called with the lock held.
void PageThumbnails::keep(int pageIndex, QImage image) {
    bytesHeld += std::size_t(image.sizeInBytes());
    uses.push_front(pageIndex);
    store[pageIndex] = Held{std::move(image), uses.begin()};
    while (bytesHeld > byteCap && uses.size() > 1) {
        const auto oldest = store.find(uses.back());
        bytesHeld -= std::size_t(oldest->second.image.sizeInBytes());
        store.erase(oldest);
        uses.pop_back();
    }
}

void PageThumbnails::work() {
    // The worker's document is its own: so are its engine context and the store of what pages share.
    try {
        useOwnEngineContext(ThumbnailEngineStore);
    } catch (const std::exception &) {
        // The shared context serves instead, only slower.
    }
    TPdfDocument document; // opened on the first page asked for; goes with the thread
    std::unique_lock lock(mutex);
    for (;;) {
        // Only now is the news of the last page told: a waiter for idleness finds every page's news out.
        inHand = false;
        if (waiting.empty())
            idle.notify_all();
        wake.wait(lock, [this] { return stopping || !waiting.empty(); });
        if (stopping)
            break;
        const int page = waiting.front();
        waiting.pop_front();
        if (store.contains(page) || unrenderable.contains(page)) // asked again while in hand, or twice
            continue;
        inHand = true;
        lock.unlock();
        QImage image;
        try {
            if (!document.Active())
                document.LoadFromBytes(bytes);
            image = renderThumbnail(document, page, box);
        } catch (const std::exception &) {
            image = QImage(); // the strip keeps the page's blank frame
        }
        lock.lock();
        if (stopping)
            break;
        if (image.isNull()) {
            unrenderable.insert(page);
        } else {
            keep(page, std::move(image));
            lock.unlock();
            rendered(page);
            lock.lock();
        }
    }
    idle.notify_all();
}

std::vector<int> thumbnailOrder(int firstShown, int lastShown, int pageCount, int limit) {
    std::vector<int> order;
    firstShown = std::clamp(firstShown, 0, std::max(pageCount - 1, 0));
    lastShown = std::clamp(lastShown, firstShown, std::max(pageCount - 1, 0));
    const auto add = [&](int page) {
        if (page >= 0 && page < pageCount && int(order.size()) < limit)
            order.push_back(page);
    };
    for (int page = firstShown; page <= lastShown; ++page)
        add(page);
    for (int step = 1; step < pageCount && int(order.size()) < limit; ++step) {
        add(lastShown + step);
        add(firstShown - step);
    }
    return order;
}
