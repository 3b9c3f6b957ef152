#include "tools/DevtoolCommands.h"

#include "pdf/PdfiumCore.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <stdexcept>

// pdf-render FILE PAGE ZOOM OUT.png: the page drawn as the view draws it at ZOOM percent on a 96-dpi
// screen, on white paper.
int pdfRenderCommand(const QStringList &args) {
    bool pageOk = false, zoomOk = false;
    const int pageIndex = args.size() == 4 ? args[1].toInt(&pageOk) : -1;
    const double zoom = args.size() == 4 ? args[2].toDouble(&zoomOk) : 0;
    if (!pageOk || !zoomOk || zoom <= 0)
        return 2;
    constexpr double ScreenDpi = 96;
    TPdfDocument doc;
    doc.LoadFromFile(args[0]);
    TPdfPage *page = doc.GetPage(pageIndex);
    const int width = int(std::lround(page->Width() / 72 * ScreenDpi * zoom / 100));
    const int height = int(std::lround(page->Height() / 72 * ScreenDpi * zoom / 100));
    if (width <= 0 || height <= 0 || qint64(width) * height > 400'000'000)
        throw std::runtime_error("page size out of range at this zoom");
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        page->Draw(painter, 0, 0, width, height);
    }
    if (!image.save(args[3], "PNG"))
        throw std::runtime_error("cannot write " + args[3].toStdString());
    std::printf("%s %dx%d\n", args[3].toUtf8().constData(), width, height);
    return 0;
}
