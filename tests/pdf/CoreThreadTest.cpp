// One thread draws pages while another walks the text of every page of the same document.
#include "pdf/PdfiumCore.h"
#include "tests/pdf/CorePdfBuilder.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(CoreThreads, DrawingWhileAnotherThreadReadsText) {
    constexpr int Pages = 40;
    std::vector<FixturePage> pages(Pages);
    for (int i = 0; i < Pages; ++i)
        for (int line = 0; line < 30; ++line)
            pages[i].content += fixtureText(
                72, 720 - line * 20, 11, "Halaman " + std::to_string(i) + " baris " + std::to_string(line));
    TPdfDocument doc;
    doc.LoadFromBytes(QByteArray::fromStdString(buildFixturePdf(pages)));

    std::atomic<bool> stop{false};
    std::atomic<int> drawn{0};
    std::thread painter([&] {
        QImage image(306, 396, QImage::Format_RGB32);
        for (int round = 0; !stop; ++round) {
            TPdfPage *page = doc.GetPage(round % Pages);
            image.fill(Qt::white);
            QPainter p(&image);
            page->Draw(p, 0, 0, 306, 396);
            page->Close(); // as the view does when it leaves a page
            ++drawn;
        }
    });
    int matched = 0;
    for (int walk = 0; walk < 3; ++walk)
        for (int i = 0; i < Pages; ++i) {
            TPdfPage *page = doc.GetPage(i);
            const QString text = page->ReadText(0, page->GetCharCount());
            if (text.startsWith(QString("Halaman %1 baris 0\r\n").arg(i)) && text.endsWith(" baris 29"))
                ++matched;
        }
    stop = true;
    painter.join();
    EXPECT_EQ(matched, 3 * Pages);
    EXPECT_GT(drawn.load(), 0);
}
