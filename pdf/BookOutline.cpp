#include "pdf/BookOutline.h"

#include "pdf/PdfiumCore.h"

namespace {

QString bookmarkTitle(FPDF_BOOKMARK bookmark) {
    const unsigned long bytes = FPDFBookmark_GetTitle(bookmark, nullptr, 0);
    if (bytes < 4)
        return {};
    std::u16string text(bytes / 2, u'\0');
    FPDFBookmark_GetTitle(bookmark, text.data(), bytes);
    text.pop_back(); // the terminator
    return QString::fromStdU16String(text);
}

BookOutline readLevel(FPDF_DOCUMENT document, FPDF_BOOKMARK parent, int depth) {
    BookOutline level;
    if (depth >= OutlineDepthLimit)
        return level;
    for (FPDF_BOOKMARK bookmark = FPDFBookmark_GetFirstChild(document, parent); bookmark;
         bookmark = FPDFBookmark_GetNextSibling(document, bookmark)) {
        OutlineEntry entry;
        entry.title = bookmarkTitle(bookmark);
        entry.pageIndex = FPDFDest_GetDestPageIndex(document, FPDFBookmark_GetDest(document, bookmark));
        entry.children = readLevel(document, bookmark, depth + 1);
        level.push_back(std::move(entry));
    }
    return level;
}

// Walks the entries in reading order, keeping the path of the best one for `pageIndex` in `best`.
void findPage(const BookOutline &level, int pageIndex, std::vector<int> &path, std::vector<int> &best,
              int &bestPage) {
    for (std::size_t i = 0; i < level.size(); ++i) {
        path.push_back(int(i));
        const int page = level[i].pageIndex;
        if (page >= 0 && page <= pageIndex && page >= bestPage) {
            best = path;
            bestPage = page;
        }
        findPage(level[i].children, pageIndex, path, best, bestPage);
        path.pop_back();
    }
}

} // namespace

BookOutline readOutline(const TPdfDocument &document) {
    TPdfDocumentLock lock(document);
    if (!document.Active())
        return {};
    return readLevel(document.Handle(), nullptr, 0);
}

std::vector<int> outlinePathOfPage(const BookOutline &outline, int pageIndex) {
    std::vector<int> path, best;
    int bestPage = 0;
    findPage(outline, pageIndex, path, best, bestPage);
    return best;
}
