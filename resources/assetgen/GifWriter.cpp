#include "GifWriter.h"

#include <algorithm>

namespace {

// Packs variable-width codes least significant bit first, as GIF's LZW stream wants them.
class CodeWriter {
public:
    void put(int code, int width) {
        pending |= static_cast<quint32>(code) << pendingBits;
        pendingBits += width;
        while (pendingBits >= 8) {
            bytes.append(static_cast<char>(pending & 0xff));
            pending >>= 8;
            pendingBits -= 8;
        }
    }
    QByteArray finish() {
        if (pendingBits > 0)
            bytes.append(static_cast<char>(pending & 0xff));
        return bytes;
    }

private:
    QByteArray bytes;
    quint32 pending = 0;
    int pendingBits = 0;
};

// Writes every pixel as a literal code and clears the code table before it would grow, so the
// code width never changes. Larger than real LZW output, but trivially valid for any decoder.
QByteArray literalLzw(const QImage &frame, int minCodeSize) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    const int width = minCodeSize + 1;
    const int literalsPerClear = clearCode - 2;
    CodeWriter writer;
    writer.put(clearCode, width);
    int sinceClear = 0;
    for (int y = 0; y < frame.height(); ++y) {
        const uchar *row = frame.constScanLine(y);
        for (int x = 0; x < frame.width(); ++x) {
            if (sinceClear == literalsPerClear) {
                writer.put(clearCode, width);
                sinceClear = 0;
            }
            writer.put(row[x], width);
            ++sinceClear;
        }
    }
    writer.put(endCode, width);
    return writer.finish();
}

void appendWord(QByteArray &out, int value) {
    out.append(static_cast<char>(value & 0xff));
    out.append(static_cast<char>((value >> 8) & 0xff));
}

void appendSubBlocks(QByteArray &out, const QByteArray &data) {
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const qsizetype length = std::min<qsizetype>(255, data.size() - at);
        out.append(static_cast<char>(length));
        out.append(data.mid(at, length));
    }
    out.append('\0');
}

// Bits needed to index the table; GIF tables have 2^bits entries with bits in 1..8.
int tableBits(qsizetype colours) {
    int bits = 1;
    while ((qsizetype(1) << bits) < colours)
        ++bits;
    return bits;
}

bool indicesWithinTable(const QImage &frame) {
    for (int y = 0; y < frame.height(); ++y) {
        const uchar *row = frame.constScanLine(y);
        if (std::any_of(row, row + frame.width(), [&](uchar index) { return index >= frame.colorCount(); }))
            return false;
    }
    return true;
}

bool framesAreUsable(const QList<QImage> &frames) {
    if (frames.isEmpty() || frames.first().isNull())
        return false;
    const QImage &first = frames.first();
    if (first.colorCount() < 1 || first.colorCount() > 256 || first.width() > 0xffff ||
        first.height() > 0xffff)
        return false;
    return std::all_of(frames.begin(), frames.end(), [&](const QImage &frame) {
        return frame.format() == QImage::Format_Indexed8 && frame.size() == first.size() &&
               frame.colorTable() == first.colorTable() && indicesWithinTable(frame);
    });
}

} // namespace

QByteArray encodeAnimatedGif(const QList<QImage> &frames, int delayCentiseconds) {
    if (!framesAreUsable(frames))
        return {};
    const QImage &first = frames.first();
    const QList<QRgb> table = first.colorTable();
    const int bits = tableBits(table.size());
    const auto transparent = std::find_if(table.begin(), table.end(), [](QRgb c) { return qAlpha(c) == 0; });
    const bool hasTransparent = transparent != table.end();

    QByteArray out("GIF89a");
    appendWord(out, first.width());
    appendWord(out, first.height());
    out.append(static_cast<char>(0x80 | (7 << 4) | (bits - 1))); // global table, 8-bit colour resolution
    out.append('\0');                                            // background colour index
    out.append('\0');                                            // no aspect ratio
    for (int i = 0; i < (1 << bits); ++i) {
        const QRgb colour = i < table.size() ? table[i] : qRgb(0, 0, 0);
        out.append(static_cast<char>(qRed(colour)));
        out.append(static_cast<char>(qGreen(colour)));
        out.append(static_cast<char>(qBlue(colour)));
    }
    out.append("\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19); // loop for ever

    const int minCodeSize = std::max(2, bits);
    for (const QImage &frame : frames) {
        out.append("\x21\xf9\x04", 3);
        out.append(static_cast<char>((2 << 2) | (hasTransparent ? 1 : 0))); // restore background after frame
        appendWord(out, delayCentiseconds);
        out.append(static_cast<char>(hasTransparent ? transparent - table.begin() : 0));
        out.append('\0');
        out.append('\x2c');
        appendWord(out, 0);
        appendWord(out, 0);
        appendWord(out, frame.width());
        appendWord(out, frame.height());
        out.append('\0'); // no local table, not interlaced
        out.append(static_cast<char>(minCodeSize));
        appendSubBlocks(out, literalLzw(frame, minCodeSize));
    }
    out.append('\x3b');
    return out;
}
