#include "tests/fuzz/FuzzEntries.h"

#include "annotations/AnnotationPainter.h"
#include "annotations/BookDocuments.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <exception>
#include <fstream>

int fuzzAnnotationDocument(const std::uint8_t *data, std::size_t size) {
    static const QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("tempAnnot.json")).toStdString();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(data), std::streamsize(size));
    std::optional<JsonDocument> document;
    try {
        document = takeStoredAnnotations(path);
    } catch (const std::exception &) {
        return 0; // not a JSON object: the book opens without them
    }
    if (!document)
        return 0;
    QImage page(120, 160, QImage::Format_ARGB32);
    page.fill(Qt::white);
    const QImage noteIcon(8, 8, QImage::Format_ARGB32);
    {
        QPainter painter(&page);
        const auto toDevice = [](double x, double y) { return QPoint(int(x / 5), int(160 - y / 5)); };
        for (int pageIndex = 0; pageIndex < 3; ++pageIndex)
            paintAnnotations(painter, *document, pageIndex, toDevice, noteIcon);
    }
    document->dump(4); // as the return writes it
    return 0;
}
