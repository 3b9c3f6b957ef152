// Ctrl+C on a book view: the selected passage goes to the clipboard inside its citation (not for
// journals), and each distinct passage is recorded with its printed page label.
#include "annotations/AnnotationTools.h"
#include "annotations/CitationCopy.h"
#include "annotations/CopiedPhrase.h"
#include "annotations/PageLabel.h"
#include "dialogs/MessageBoxes.h"
#include "pdf/PdfiumCtrl.h"
#include "reader/ReaderController.h"

#include <QClipboard>
#include <QGuiApplication>

void TAnnotationTools::PDFViewKeyUp(TPdfControl *sender, int key, Qt::KeyboardModifiers shift) {
    if (key != Qt::Key_C || !(shift & Qt::ControlModifier))
        return;
    try {
        const QString phrase = selectedPhrase(*sender);
        const TDetailBook *book = reader.bookOfTab(sender->parentWidget());
        TReaderSettings *settings = reader.settingsOf(sender->parentWidget());
        if (!book || !settings)
            return;
        const std::string label = printedPageLabel(sender->PageIndex(), book->halaman_romawi);
        if (book->dept != "JURNAL")
            QGuiApplication::clipboard()->setText(citationBlock(*book, label, phrase));
        recordCopiedText(settings->TextCopyObject, label, phrase.toStdString());
    } catch (const std::exception &error) {
        showError(QStringLiteral("Error Exception #2350 : ") + QString::fromUtf8(error.what()));
    }
}
