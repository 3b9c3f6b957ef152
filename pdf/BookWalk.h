#pragma once
// The pages of one in-book search walk, handed to the walk in its order. Once the walk has read a few pages
// itself and more unread pages lie ahead, a helper thread reads pages ahead of it from a document of its
// own, opened over the same bytes, so that the walk uses a second core; while the page the walk wants is in
// the helper's hand, the walk reads the next free page ahead itself rather than wait.
//
// Everything the walk and its helper share (the kept pages, the pages in hand, the walk's place, the pages
// left to the walk) is taken under the BookText's mutex. A page a read ahead could not read is left to the
// walk, which reads it again when it comes to it, so a refused page or an engine error ends the walk at the
// same page as a walk on one thread.

#include "pdf/BookText.h"

#include <QByteArray>

#include <mutex>
#include <thread>
#include <unordered_set>

class TPdfDocument;

class BookWalk {
public:
    // The walk goes from `first` to `last` (inclusive) in steps of `step` (1 or -1).
    BookWalk(TPdfDocument &document, BookText &text, int first, int last, int step);
    // Stops the helper, waits for the page in its hand and closes its document.
    ~BookWalk();
    BookWalk(const BookWalk &) = delete;
    BookWalk &operator=(const BookWalk &) = delete;

    // The folded text of `page`, the walk's next page: kept, awaited or read here. Engine errors propagate
    // as from BookText::foldedPage.
    std::u16string foldedPage(int page);

private:
    // With the lock held: the first page from `from` on, in walk order, that is neither kept, in hand nor
    // left to the walk; `last + step` when there is none.
    int nextFree(int from);
    // With the lock held: reads the first free page ahead of `page` through the walk's document; false when
    // there is none.
    bool readAhead(std::unique_lock<std::mutex> &lock, int page);
    // With the lock held: starts the helper when the walk has read enough pages itself and enough unread
    // pages lie ahead of `page`.
    void startHelperIfItPays(std::unique_lock<std::mutex> &lock, int page);
    void help(QByteArray bytes);

    TPdfDocument &document;
    BookText &text;
    const int last;
    const int step;
    std::thread helper; // started and joined by the walk's thread

    // Guarded by text.mutex.
    int place;        // the page the walk is at
    int scanFrom;     // pages between place and here are not free
    int readHere = 0; // pages the walk read itself
    bool stopping = false;
    std::unordered_set<int> left; // pages a read ahead could not read; the walk reads them in its turn
};
