// The copy shortcut on a book view: the selected passage goes to the clipboard inside its citation (not
// for journals), each distinct passage is recorded with its printed page label, and a short notice says
// what happened.
#include "annotation_tools/AnnotationTools.h"
#include "annotation_tools/ShortNotice.h"
#include "annotations/CitationCopy.h"
#include "annotations/CopiedPhrase.h"
#include "annotations/PageLabel.h"
#include "pdfview/PdfControl.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>

namespace {

// The platform's copy keys, Ctrl+Insert, and C with Ctrl whatever else is held.
bool isCopyKey(const QKeyEvent &event) {
    if (event.matches(QKeySequence::Copy))
        return true;
    return (event.modifiers() & Qt::ControlModifier) &&
           (event.key() == Qt::Key_C || event.key() == Qt::Key_Insert);
}

} // namespace

bool TAnnotationTools::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *view = qobject_cast<TPdfControl *>(watched);
    return view && PDFViewKeyDown(view, static_cast<const QKeyEvent &>(*event));
}

bool TAnnotationTools::PDFViewKeyDown(TPdfControl *sender, const QKeyEvent &event) {
    if (!isCopyKey(event))
        return false;
    if (!event.isAutoRepeat()) // holding the keys copies once
        copyWithCitation(*sender);
    return true;
}

QMenu *TAnnotationTools::selectionMenu(TPdfControl &view) {
    if (!view.SelectionActive() || view.GetSelLength() == 0)
        return nullptr;
    auto *menu = new QMenu(&view);
    QAction *copy = menu->addAction(QStringLiteral("Salin Teks Beserta Kutipan"),
                                    [this, target = QPointer<TPdfControl>(&view)] {
                                        if (target)
                                            copyWithCitation(*target);
                                    });
    copy->setShortcut(QKeySequence::Copy);
    return menu;
}

void TAnnotationTools::copyWithCitation(TPdfControl &view) {
    try {
        const QString phrase = selectedPhrase(view);
        const TDetailBook *book = reader.bookOfTab(view.parentWidget());
        TReaderSettings *settings = reader.settingsOf(view.parentWidget());
        if (!book || !settings)
            return;
        const std::string label = printedPageLabel(view.PageIndex(), book->halaman_romawi);
        const bool journal = book->dept == "JURNAL";
        if (!journal)
            QGuiApplication::clipboard()->setText(citationBlock(*book, label, phrase));
        recordCopiedText(settings->TextCopyObject, label, phrase.toStdString());
        ShortNotice::showOver(view, journal ? QStringLiteral("Teks jurnal tidak disalin, frasa dicatat")
                                            : QStringLiteral("Teks disalin beserta kutipan"));
    } catch (const std::exception &error) {
        showError(QStringLiteral("Error Exception #2350 : ") + QString::fromUtf8(error.what()));
    }
}
