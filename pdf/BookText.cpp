#include "pdf/BookText.h"

#include "pdf/PdfiumCore.h"
#include "pdf/TextMatcher.h"

#include <algorithm>

std::u16string BookText::foldedPage(TPdfDocument &document, int pageIndex) {
    {
        const std::lock_guard lock(mutex);
        const auto found = pages.find(pageIndex);
        if (found != pages.end())
            return found->second;
    }
    // Read without holding the cache's mutex: a thread holding the document's lock may be waiting for it.
    std::u16string text =
        foldForMatching(document.ReadPageText(pageIndex).toStdU16String(), BookSearchMatchCase, false).units;
    const std::lock_guard lock(mutex);
    return pages.try_emplace(pageIndex, std::move(text)).first->second;
}

namespace {

// Pages first to last (inclusive) in steps of `step`, each tested for the folded phrase.
BookSearchOutcome walkPages(TPdfDocument &document, BookText &text, const QString &keyword, int first,
                            int last, int step, const std::function<bool()> &cancelled) {
    const TextMatcher phrase(keyword.toStdU16String(), BookSearchMatchCase, BookSearchWholeWord);
    for (int page = first; page != last + step; page += step) {
        if (cancelled && cancelled())
            return {BookSearchResult::Cancelled};
        try {
            if (phrase.occursIn(text.foldedPage(document, page)))
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
