#include "tests/pdfview/PdfFixture.h"

#include <QBuffer>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

void setPage(QPdfWriter &writer, const FixturePage &page) {
    writer.setPageSize(QPageSize(QSizeF(page.Width, page.Height), QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
}

} // namespace

QByteArray makeFixturePdf(const std::vector<FixturePage> &pages) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72); // painter units are points
    if (!pages.empty())
        setPage(writer, pages.front());
    QPainter painter(&writer);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            setPage(writer, pages[i]);
            writer.newPage();
        }
        for (const FixtureText &text : pages[i].Texts) {
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPointSizeF(text.FontPoints);
            painter.setFont(font);
            painter.drawText(QPointF(text.X, text.Baseline), text.Text);
        }
    }
    painter.end();
    return bytes;
}

QByteArray makeNumberedPdf(int count, double width, double height) {
    std::vector<FixturePage> pages;
    for (int i = 0; i < count; ++i)
        pages.push_back(
            FixturePage{width, height, {FixtureText{72, 72, QStringLiteral("Page %1").arg(i + 1)}}});
    return makeFixturePdf(pages);
}

QByteArray makeSignedPagesPdf(int count, const std::set<int> &signedPages) {
    std::vector<QByteArray> objects{"<< /Type /Catalog /Pages 2 0 R >>",
                                    {}, // the page tree, filled below
                                    "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    QByteArray kids;
    for (int page = 0; page < count; ++page) {
        const QByteArray text = "BT /F1 24 Tf 72 700 Td (Halaman " + QByteArray::number(page + 1) + ") Tj ET";
        objects.push_back("<< /Length " + QByteArray::number(text.size()) + " >>\nstream\n" + text +
                          "\nendstream");
        // The content stream is the last object so far; the page comes next and its field after it.
        const int contents = int(objects.size());
        kids += QByteArray::number(contents + 1) + " 0 R ";
        QByteArray dict =
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 3 0 R "
            ">> >> /Contents " +
            QByteArray::number(contents) + " 0 R";
        if (signedPages.contains(page))
            dict += " /Annots [" + QByteArray::number(contents + 2) + " 0 R]";
        objects.push_back(dict + " >>");
        if (signedPages.contains(page))
            objects.push_back("<< /Type /Annot /Subtype /Widget /FT /Sig /T (ttd) /Rect [72 100 272 150] >>");
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(count) + " >>";
    QByteArray pdf = "%PDF-1.7\n";
    std::vector<qsizetype> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += QByteArray::number(int(i) + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    const QByteArray size = QByteArray::number(int(objects.size()) + 1);
    pdf += "xref\n0 " + size + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf +=
        "trailer\n<< /Size " + size + " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}
