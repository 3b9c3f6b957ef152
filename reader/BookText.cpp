#include "reader/BookText.h"

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

BookSearchOutcome searchBook(TPdfDocument &document, BookText &text, const QString &keyword, int fromPage,
                             int direction, const std::function<bool()> &cancelled) {
    const int count = document.PageCount();
    const int step = direction == 1 ? 1 : -1;
    const int first = step > 0 ? std::max(fromPage + 1, 0) : std::min(fromPage - 1, count - 1);
    const auto inBook = [count](int page) { return page >= 0 && page < count; };
    if (!inBook(first))
        return {BookSearchResult::NothingSearched};
    const QString phrase = bookSearchFold(keyword);
    for (int page = first; inBook(page); page += step) {
        if (cancelled && cancelled())
            return {BookSearchResult::Cancelled};
        if (text.foldedPage(document, page).contains(phrase))
            return {BookSearchResult::Found, page};
    }
    return {BookSearchResult::NotFound};
}
