#include "GifWriter.h"
#include "Spinner.h"

#include <QBuffer>
#include <QImageReader>
#include <gtest/gtest.h>

namespace {

QImage indexedFrame(QSize size, const QList<QRgb> &table, const std::function<int(int, int)> &index) {
    QImage frame(size, QImage::Format_Indexed8);
    frame.setColorTable(table);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            frame.setPixel(x, y, uint(index(x, y)));
    return frame;
}

QList<QImage> decode(QByteArray gif) {
    QBuffer buffer(&gif);
    QImageReader reader(&buffer, "gif");
    QList<QImage> frames;
    for (QImage frame = reader.read(); !frame.isNull(); frame = reader.read())
        frames.append(frame.convertToFormat(QImage::Format_ARGB32));
    return frames;
}

QList<QRgb> greyRamp(int count) {
    QList<QRgb> table;
    for (int i = 0; i < count; ++i)
        table.append(qRgb(i * 255 / std::max(1, count - 1), i, 255 - i * 255 / std::max(1, count - 1)));
    return table;
}

// Small and large colour tables exercise the narrowest and widest code sizes and long data runs.
TEST(GifWriter, FramesComeBackPixelForPixel) {
    const std::pair<int, QSize> cases[] = {
        {2, QSize(3, 2)}, {4, QSize(7, 5)}, {16, QSize(40, 30)}, {200, QSize(64, 64)}, {256, QSize(300, 7)}};
    for (const auto &[colours, size] : cases) {
        const QList<QRgb> table = greyRamp(colours);
        const QList<QImage> frames = {
            indexedFrame(size, table, [&](int x, int y) { return (x * 7 + y * 3) % colours; }),
            indexedFrame(size, table, [&](int x, int y) { return (x + y * size.width()) % colours; })};
        const QList<QImage> decoded = decode(encodeAnimatedGif(frames, 10));
        ASSERT_EQ(decoded.size(), frames.size()) << colours;
        for (qsizetype f = 0; f < frames.size(); ++f) {
            ASSERT_EQ(decoded[f].size(), size);
            int wrong = 0;
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    wrong += (decoded[f].pixel(x, y) & 0xffffff) != (frames[f].pixel(x, y) & 0xffffff);
            EXPECT_EQ(wrong, 0) << colours << " colours, frame " << f;
        }
    }
}

TEST(GifWriter, MarksTheTransparentEntryAndLoopsForEver) {
    const QList<QRgb> table = {qRgb(10, 20, 30), qRgba(0, 0, 0, 0), qRgb(200, 100, 50)};
    const QImage frame = indexedFrame(QSize(4, 4), table, [](int x, int) { return x % 3; });
    QByteArray gif = encodeAnimatedGif({frame, frame}, 25);
    QBuffer buffer(&gif);
    QImageReader reader(&buffer, "gif");
    EXPECT_EQ(reader.loopCount(), -1);
    const QImage first = reader.read().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(reader.nextImageDelay(), 250);
    EXPECT_EQ(qAlpha(first.pixel(1, 0)), 0);
    EXPECT_EQ(first.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(first.pixel(2, 3), qRgb(200, 100, 50));
}

TEST(GifWriter, RefusesFramesItCannotEncode) {
    const QList<QRgb> table = greyRamp(4);
    const QImage good = indexedFrame(QSize(4, 4), table, [](int, int) { return 1; });
    QImage otherTable = good;
    otherTable.setColorTable(greyRamp(8));
    QImage outOfTable = good;
    outOfTable.scanLine(2)[2] = 6; // past the four-entry table
    const QList<QList<QImage>> bad = {{},
                                      {good.convertToFormat(QImage::Format_ARGB32)},
                                      {good, good.copy(0, 0, 3, 4)},
                                      {good, otherTable},
                                      {outOfTable}};
    for (const QList<QImage> &frames : bad)
        EXPECT_TRUE(encodeAnimatedGif(frames, 10).isEmpty());
}

TEST(Spinner, TheLeadingDotMovesFromFrameToFrame) {
    const QList<QImage> frames = drawSpinnerFrames(32);
    ASSERT_EQ(frames.size(), 12);
    // Frame i paints dot i in the darkest shade; dot 0 sits straight above the centre.
    auto shadeAtTop = [](const QImage &frame) { return frame.pixelIndex(16, 16 - int(32 * 0.36)); };
    EXPECT_EQ(shadeAtTop(frames[0]), 15);
    EXPECT_LT(shadeAtTop(frames[6]), shadeAtTop(frames[0]));
    EXPECT_EQ(frames[0].pixelIndex(16, 16), 0); // the centre stays transparent
    EXPECT_FALSE(encodeAnimatedGif(frames, 8).isEmpty());
}

} // namespace
