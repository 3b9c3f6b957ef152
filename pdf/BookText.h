#pragma once
// The in-book search: a walk over a book's pages, from the page shown onwards or backwards, for the first
// page whose text holds a phrase. The page text is read through the document once and kept, so the next
// search in the same book (next, previous, another phrase) reads no page again.

#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>

class TPdfDocument;

// The in-book search's rule, shared by the page walk and the view's marking of the page found: case
// ignored, whole words.
inline constexpr bool BookSearchMatchCase = false;
inline constexpr bool BookSearchWholeWord = true;

// Plain text of a book's pages, folded for the search test, read once per page and kept.
// Shared by a reader tab and its search task, and within a walk by the walk and its helper thread: what
// they share is taken under one mutex, and a page being read is awaited, never read twice at once.
class BookText {
public:
    // The page's whole text folded as TextMatcher compares it (case ignored); read from the document
    // (under its lock) on the first call for that page only. Engine errors propagate as EPdfException.
    // Not to be called while holding the document's lock: the page may be in hand on another thread that
    // waits for that lock.
    std::u16string foldedPage(TPdfDocument &document, int pageIndex);

private:
    friend class BookWalk;

    // Called with `lock` held on `mutex`: reads the page into `pages`, the lock let go meanwhile. The page
    // is in hand throughout and is let go again also when the read fails (the error then propagates).
    void readPage(std::unique_lock<std::mutex> &lock, TPdfDocument &document, int pageIndex);

    std::mutex mutex;                // guards what follows; never held while a document is read
    std::condition_variable changed; // a page was kept or let go
    std::unordered_map<int, std::u16string> pages;
    std::unordered_set<int> inHand; // pages being read now
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
// A long walk over pages not read yet is shared with a helper thread reading the pages ahead from a
// document of its own, opened over the document's bytes (TPdfDocument::Bytes); it is stopped and joined,
// and its document closed, before the walk returns.
BookSearchOutcome searchBook(TPdfDocument &document, BookText &text, const QString &keyword, int fromPage,
                             int direction, const std::function<bool()> &cancelled);

// The rest of the book after `searchBook` found nothing: from the other end (the first page for direction 1,
// the last for any other value) towards fromPage, which is searched too, so the page shown can answer.
// Found, NotFound, Cancelled or Refused, as searchBook.
BookSearchOutcome searchBookFromOtherEnd(TPdfDocument &document, BookText &text, const QString &keyword,
                                         int fromPage, int direction, const std::function<bool()> &cancelled);
