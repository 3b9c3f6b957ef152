#pragma once
// The in-book search: a walk over a book's pages, from the page shown onwards or backwards, for the first
// page whose text holds a phrase. The page text is read through the document once and kept, so the next
// search in the same book (next, previous, another phrase) reads no page again.

#include <QString>

#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

class TPdfDocument;

// The in-book search's rule, shared by the page walk and the view's marking of the page found: case
// ignored, whole words.
inline constexpr bool BookSearchMatchCase = false;
inline constexpr bool BookSearchWholeWord = true;

// Plain text of a book's pages, folded for the search test, read once per page and kept.
// Shared by a reader tab and its search task; safe to use from one thread at a time per call (internal
// mutex).
class BookText {
public:
    // The page's whole text folded as TextMatcher compares it (case ignored); read from the document
    // (under its lock) on the first call for that page only. Engine errors propagate as EPdfException.
    std::u16string foldedPage(TPdfDocument &document, int pageIndex);

private:
    std::mutex mutex; // guards pages only: never held while the document is read
    std::unordered_map<int, std::u16string> pages;
};

enum class BookSearchResult { Found, NotFound, NothingSearched, Cancelled, Refused };

struct BookSearchOutcome {
    BookSearchResult result;
    int page = -1; // the page found or refused; -1 otherwise
};

// direction 1: pages fromPage+1 .. last; any other value: fromPage-1 down to 0. The page fromPage itself
// is never searched.
// A page matches when `keyword` occurs in its whole text by the rule the view marks it with (TextMatcher,
// BookSearchMatchCase, BookSearchWholeWord), so the page found has the phrase marked; the walk stops at
// the first match (Found, page).
// When the walk reached the end in its direction without a match: NotFound. When no page lies in that
// direction (forward from the last page, backward from the first): NothingSearched.
// `cancelled` is checked before each page; when it returns true the walk ends with Cancelled.
// A page the engine refuses for a feature it does not support ends the walk there (Refused, page); other
// engine errors propagate as exceptions.
BookSearchOutcome searchBook(TPdfDocument &document, BookText &text, const QString &keyword, int fromPage,
                             int direction, const std::function<bool()> &cancelled);

// The rest of the book after `searchBook` found nothing: from the other end (the first page for direction 1,
// the last for any other value) towards fromPage, which is searched too, so the page shown can answer.
// Found, NotFound, Cancelled or Refused, as searchBook.
BookSearchOutcome searchBookFromOtherEnd(TPdfDocument &document, BookText &text, const QString &keyword,
                                         int fromPage, int direction, const std::function<bool()> &cancelled);
