#include "pdf/BookText.h"

#include "pdf/PdfiumCore.h"

#include <algorithm>

namespace {

// Both sides of the page test: compatibility forms composed to what a member types, upper-cased.
QString bookSearchFold(const QString &text) {
    return text.normalized(QString::NormalizationForm_KC).toUpper();
}

} // namespace

QString BookText::foldedPage(TPdfDocument &document, int pageIndex) {
    {
        const std::lock_guard lock(mutex_);
        const auto found = pages_.find(pageIndex);
        if (found != pages_.end())
            return found->second;
    }
    // Read without holding the cache's mutex: a thread holding the document's lock may be waiting for it.
    QString text = bookSearchFold(document.ReadPageText(pageIndex));
    const std::lock_guard lock(mutex_);
    return pages_.try_emplace(pageIndex, std::move(text)).first->second;
}

namespace {

// Pages first to last (inclusive) in steps of `step`, each tested for the folded phrase.
BookSearchOutcome walkPages(TPdfDocument &document, BookText &text, const QString &keyword, int first,
                            int last, int step, const std::function<bool()> &cancelled) {
    const QString phrase = bookSearchFold(keyword);
    for (int page = first; page != last + step; page += step) {
        if (cancelled && cancelled())
            return {BookSearchResult::Cancelled};
        if (text.foldedPage(document, page).contains(phrase))
            return {BookSearchResult::Found, page};
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
