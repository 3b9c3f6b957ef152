#include "tests/fuzz/FuzzEntries.h"

#include "pdf/PdfiumCore.h"
#include "pdf/BookText.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

// Page 0 drawn small: the drawing code runs whole, the picture costs little.
void drawFirstPage(TPdfDocument &doc) {
    TPdfPage *page = doc.GetPage(0);
    const double width = page->Width(), height = page->Height();
    if (!(width > 0) || !(height > 0))
        return;
    const double scale = 64 / std::max(width, height);
    QImage image(std::max(1, int(width * scale)), std::max(1, int(height * scale)), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const TPdfDocumentLock lock(doc);
    page->Draw(painter, 0, 0, image.width(), image.height());
}

void markOnFirstPage(TPdfDocument &doc, const QString &phrase) {
    TPdfPage *page = doc.GetPage(0);
    const TPdfDocumentLock lock(doc);
    int index = 0, count = 0;
    if (page->BeginFind(phrase, BookSearchMatchCase, BookSearchWholeWord, false))
        while (page->FindNext(index, count))
            page->GetTextRectCount(index, count);
    page->EndFind();
}

} // namespace

int fuzzPdfBook(const std::uint8_t *data, std::size_t size) {
    try {
        TPdfDocument doc;
        doc.LoadFromBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        if (doc.PageCount() <= 0)
            return 0;
        BookText text;
        for (int p = 0; p < doc.PageCount(); ++p)
            text.foldedPage(doc, p);
        drawFirstPage(doc);
        const QString phrase = QStringLiteral("buku");
        searchBook(doc, text, phrase, -1, 1, {});
        markOnFirstPage(doc, phrase);
    } catch (const std::exception &) {
        // A refusal is the engine's answer to a broken book, not a fault.
    }
    return 0;
}
