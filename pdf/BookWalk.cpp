#include "pdf/BookWalk.h"

#include "pdf/EngineContext.h"
#include "pdf/PdfiumCore.h"

#include <system_error>

namespace {

// A walk that finds its phrase within this many pages it reads itself starts no helper.
constexpr int PagesBeforeHelper = 4;
// Nor does one with fewer free pages ahead: opening a second document would cost more than it saves.
constexpr int FreePagesForHelper = 16;
// The store of fonts and resources the helper's pages share.
constexpr std::size_t HelperEngineStore = std::size_t(16) << 20;

} // namespace

BookWalk::BookWalk(TPdfDocument &document, BookText &text, int first, int last, int step)
    : document(document), text(text), last(last), step(step), place(first), scanFrom(first) {}

BookWalk::~BookWalk() {
    {
        const std::lock_guard lock(text.mutex);
        stopping = true;
    }
    if (helper.joinable())
        helper.join();
}

std::u16string BookWalk::foldedPage(int page) {
    std::unique_lock lock(text.mutex);
    place = page;
    for (;;) {
        const auto found = text.pages.find(page);
        if (found != text.pages.end())
            return found->second;
        if (!text.inHand.contains(page)) {
            // Free, or left by a read ahead that failed: read here, where an error ends the walk.
            left.erase(page);
            text.readPage(lock, document, page);
            ++readHere;
            startHelperIfItPays(lock, page);
        } else if (!readAhead(lock, page)) {
            text.changed.wait(lock);
        }
    }
}

int BookWalk::nextFree(int from) {
    // Pages between the walk's place and scanFrom were kept, taken in hand or left when scanned.
    int page = (scanFrom - from) * step > 0 ? scanFrom : from;
    for (; page != last + step; page += step)
        if (!text.pages.contains(page) && !text.inHand.contains(page) && !left.contains(page))
            break;
    scanFrom = page;
    return page;
}

bool BookWalk::readAhead(std::unique_lock<std::mutex> &lock, int page) {
    const int ahead = nextFree(page + step);
    if (ahead == last + step)
        return false;
    try {
        text.readPage(lock, document, ahead);
    } catch (const std::exception &) {
        left.insert(ahead);
    }
    return true;
}

void BookWalk::startHelperIfItPays(std::unique_lock<std::mutex> &lock, int page) {
    if (helper.joinable() || readHere != PagesBeforeHelper)
        return;
    int unread = 0;
    for (int ahead = page + step; ahead != last + step && unread < FreePagesForHelper; ahead += step)
        unread += !text.pages.contains(ahead) && !text.inHand.contains(ahead);
    if (unread < FreePagesForHelper)
        return;
    // The document's lock is never taken under the text's mutex.
    lock.unlock();
    QByteArray bytes = document.Bytes();
    if (!bytes.isEmpty()) {
        try {
            helper = std::thread([this, bytes = std::move(bytes)] { help(bytes); });
        } catch (const std::system_error &) {
            // No thread to be had: the walk reads every page itself.
        }
    }
    lock.lock();
}

void BookWalk::help(QByteArray bytes) {
    // The helper's document is its own: so are its engine context and the store of what its pages share.
    try {
        useOwnEngineContext(HelperEngineStore);
    } catch (const std::exception &) {
        // The shared context serves instead, only slower.
    }
    TPdfDocument own; // closed when the thread ends, before the walk returns
    try {
        own.LoadFromBytes(bytes);
    } catch (const std::exception &) {
        return; // the walk reads every page itself
    }
    std::unique_lock lock(text.mutex);
    while (!stopping) {
        const int page = nextFree(place + step);
        if (page == last + step)
            break;
        try {
            text.readPage(lock, own, page);
        } catch (const std::exception &) {
            // The walk meets the page in its turn and reads it through its own document; the walk ends
            // there, so nothing beyond it is worth reading.
            left.insert(page);
            break;
        }
    }
}
