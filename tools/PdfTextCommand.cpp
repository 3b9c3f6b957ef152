#include "tools/DevtoolCommands.h"

#include "pdf/PdfiumCore.h"

#include <cstdio>

// pdf-text FILE PAGE: the page's character model, one JSON object a line, boxes in page space.
int pdfTextCommand(const QStringList &args) {
    bool pageOk = false;
    const int pageIndex = args.size() == 2 ? args[1].toInt(&pageOk) : -1;
    if (!pageOk)
        return 2;
    TPdfDocument doc;
    doc.LoadFromFile(args[0]);
    TPdfPage *page = doc.GetPage(pageIndex);
    const int count = page->GetCharCount();
    for (int i = 0; i < count; ++i) {
        const TPdfRect box = page->GetCharBox(i);
        std::printf("{\"i\":%d,\"u\":%u,\"box\":[%.3f,%.3f,%.3f,%.3f]}\n", i,
                    unsigned(page->ReadChar(i).unicode()), box.Left, box.Top, box.Right, box.Bottom);
    }
    return 0;
}
