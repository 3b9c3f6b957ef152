#include "pdf/BookText.h"

#include "pdf/BookWalk.h"
#include "pdf/PdfiumCore.h"
#include "pdf/TextMatcher.h"

#include <algorithm>
#include <exception>

std::u16string BookText::foldedPage(TPdfDocument &document, int pageIndex) {
    std::unique_lock lock(mutex);
    for (;;) {
        const auto found = pages.find(pageIndex);
        if (found != pages.end())
            return found->second;
        if (inHand.contains(pageIndex))
            changed.wait(lock);
        else
            readPage(lock, document, pageIndex);
    }
}

void BookText::readPage(std::unique_lock<std::mutex> &lock, TPdfDocument &document, int pageIndex) {
    inHand.insert(pageIndex);
    lock.unlock();
    // Read without holding the mutex: a thread holding the document's lock may be waiting for it.
    std::u16string text;
    std::exception_ptr failure;
    try {
        text = foldForMatching(document.ReadPageText(pageIndex).toStdU16String(), BookSearchMatchCase, false)
                   .units;
    } catch (...) {
        failure = std::current_exception();
    }
    lock.lock();
    inHand.erase(pageIndex);
    if (!failure)
        pages.try_emplace(pageIndex, std::move(text));
    changed.notify_all();
    if (failure)
        std::rethrow_exception(failure);
}

namespace {

// Pages first to last (inclusive) in steps of `step`, each tested for the folded phrase.
BookSearchOutcome walkPages(TPdfDocument &document, BookText &text, const QString &keyword, int first,
                            int last, int step, const std::function<bool()> &cancelled) {
    const TextMatcher phrase(keyword.toStdU16String(), BookSearchMatchCase, BookSearchWholeWord);
    BookWalk walk(document, text, first, last, step);
    for (int page = first; page != last + step; page += step) {
        if (cancelled && cancelled())
            return {BookSearchResult::Cancelled};
        try {
            if (phrase.occursIn(walk.foldedPage(page)))
                return {BookSearchResult::Found, page};
        } catch (const EPdfUnsupportedFeatureException &) {
            return {BookSearchResult::Refused, page};
        }
    }
    return {BookSearchResult::NotFound};
}

} // namespace

BookSearchOutcome searchBook(TPdfDocument &document, BookText &text, const QString &keyword, int fromPage,
                             int direction, const std::function<bool()> &cancelled) {
    const int count = document.PageCount();
    const int step = direction == 1 ? 1 : -1;
    const int first = step > 0 ? std::max(fromPage + 1, 0) : std::min(fromPage - 1, count - 1);
    const int last = step > 0 ? count - 1 : 0;
    if (first < 0 || first >= count)
        return {BookSearchResult::NothingSearched};
    return walkPages(document, text, keyword, first, last, step, cancelled);
}

BookSearchOutcome searchBookFromOtherEnd(TPdfDocument &document, BookText &text, const QString &keyword,
                                         int fromPage, int direction,
                                         const std::function<bool()> &cancelled) {
    const int count = document.PageCount();
    if (count <= 0)
        return {BookSearchResult::NotFound};
    const int step = direction == 1 ? 1 : -1;
    const int first = step > 0 ? 0 : count - 1;
    const int last = std::clamp(fromPage, 0, count - 1);
    return walkPages(document, text, keyword, first, last, step, cancelled);
}
