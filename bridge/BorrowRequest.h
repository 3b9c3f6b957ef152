#pragma once
#include "bridge/LibraryWindow.h"
#include "service/JsonDocument.h"

#include <optional>
#include <string>
#include <utility>

// One borrowing as the catalogue asks the reader for it: the detail reply of the book (its id,
// "nama_pc_file" and the records of the book), where the book opens, and the list the library shows
// again once the book is open.
struct BorrowRequest {
    // A borrowing that opens as usual and goes back to `backTo`, if given, once the book is open.
    static BorrowRequest from(JsonPtr detail, std::optional<LibraryView> backTo = std::nullopt) {
        BorrowRequest borrow;
        borrow.detail = std::move(detail);
        borrow.backTo = backTo;
        return borrow;
    }
    // A borrowing from a sentence-search hit: the book opens at `page` with `phrase` marked.
    static BorrowRequest atHit(int page, std::string phrase, LibraryView backTo) {
        BorrowRequest borrow = from(nullptr, backTo);
        borrow.startPage = page;
        borrow.phrase = std::move(phrase);
        return borrow;
    }

    JsonPtr detail;
    int startPage = 0;                 // zero-based page of a sentence-search hit; 0 opens as usual
    std::string phrase;                // marked on the start page
    std::optional<LibraryView> backTo; // the list the borrowing came from, if it goes back to one
};
