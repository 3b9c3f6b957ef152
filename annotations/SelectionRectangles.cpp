#include "annotations/SelectionRectangles.h"

#include "pdf/PdfiumCtrl.h"

std::vector<QRect> selectionRectangles(TPdfControl &view) {
    std::vector<QRect> rects;
    TPdfPage *page = view.GetCurrentPage();
    if (!page || view.GetSelLength() <= 0)
        return rects;
    TPdfDocumentLock lock(*view.Document()); // the count and the rectangles come from one text query
    const int count = page->GetTextRectCount(view.GetSelStart(), view.GetSelLength());
    for (int i = 0; i < count; ++i)
        rects.push_back(view.PageToDevice(page->GetTextRect(i)));
    return rects;
}
