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
