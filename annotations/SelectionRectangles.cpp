#include "annotations/SelectionRectangles.h"

#include "pdfview/PdfControl.h"

std::vector<TPdfRect> selectionPageRectangles(TPdfControl &view) {
    std::vector<TPdfRect> rects;
    TPdfPage *page = view.GetCurrentPage();
    if (!page || view.GetSelLength() <= 0)
        return rects;
    TPdfDocumentLock lock(*view.Document()); // the count and the rectangles come from one text query
    const int count = page->GetTextRectCount(view.GetSelStart(), view.GetSelLength());
    for (int i = 0; i < count; ++i)
        rects.push_back(page->GetTextRect(i));
    return rects;
}

std::vector<QRect> selectionRectangles(TPdfControl &view) {
    std::vector<QRect> rects;
    if (!view.Document())
        return rects;
    TPdfDocumentLock lock(*view.Document()); // rectangles and conversions in one sequence
    for (const TPdfRect &r : selectionPageRectangles(view))
        rects.push_back(view.PageToDevice(r));
    return rects;
}
