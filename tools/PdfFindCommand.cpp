#include "tools/DevtoolCommands.h"

#include "pdf/PdfiumCore.h"

#include <cstdio>

// pdf-find FILE PAGE PHRASE [--case] [--word]: every hit on the page as "index count".
int pdfFindCommand(const QStringList &args) {
    QStringList positional;
    bool matchCase = false, wholeWord = false;
    for (const QString &arg : args) {
        if (arg == "--case")
            matchCase = true;
        else if (arg == "--word")
            wholeWord = true;
        else
            positional << arg;
    }
    bool pageOk = false;
    const int pageIndex = positional.size() == 3 ? positional[1].toInt(&pageOk) : -1;
    if (!pageOk)
        return 2;
    TPdfDocument doc;
    doc.LoadFromFile(positional[0]);
    TPdfPage *page = doc.GetPage(pageIndex);
    int index = 0, count = 0;
    if (page->BeginFind(positional[2], matchCase, wholeWord, false))
        while (page->FindNext(index, count))
            std::printf("%d %d\n", index, count);
    page->EndFind();
    return 0;
}
