#pragma once
// A book's outline as the PDF itself gives it: nested entries, each with its title and the page it goes to.

#include <QString>

#include <vector>

class TPdfDocument;

struct OutlineEntry {
    QString title;
    int pageIndex = -1; // -1 when the entry goes to no page of the book
    std::vector<OutlineEntry> children;
    bool operator==(const OutlineEntry &) const = default;
};

using BookOutline = std::vector<OutlineEntry>;

// The outline of an open document, read under its lock; empty when the document has none. Levels deeper
// than OutlineDepthLimit are left out.
BookOutline readOutline(const TPdfDocument &document);
inline constexpr int OutlineDepthLimit = 32;

// The entry that marks page `pageIndex`: of the entries going to that page or one before it, the one going
// furthest, and of several going there the last in reading order (a section rather than its chapter).
// Answered as the child index at each level from the top; empty when no entry goes that far.
std::vector<int> outlinePathOfPage(const BookOutline &outline, int pageIndex);
