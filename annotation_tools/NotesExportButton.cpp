// "Ekspor Catatan": the active book's annotations and copied passages go to a file the member picks, as
// Markdown or HTML by the file type chosen in the save dialog.
#include "annotation_tools/AnnotationTools.h"
#include "annotations/CopiedPhrase.h"
#include "annotations/NotesExport.h"
#include "model/DetailBook.h"
#include "pdfview/PdfControl.h"
#include "prompts/FileDialogs.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"

#include <QDir>

namespace {
// The book's title as a file name: no folder separators or control characters, never hidden or empty.
QString notesFileName(const std::string &title) {
    QString name;
    for (QChar c : QString::fromStdString(title))
        name += c == QLatin1Char('/') || c.category() == QChar::Other_Control ? QLatin1Char(' ') : c;
    name = name.simplified();
    while (name.startsWith(QLatin1Char('.')))
        name = name.mid(1).trimmed();
    return (name.isEmpty() ? QStringLiteral("Catatan") : QStringLiteral("Catatan ") + name.left(150)) +
           QStringLiteral(".md");
}
} // namespace

void TAnnotationTools::exportNotes() {
    try {
        TPdfControl *view = reader.activeView();
        const TDetailBook *book = reader.activeBook();
        const TReaderSettings *settings = reader.activeSettings();
        if (!view || !view->Document() || !book || !settings)
            return;
        if (!hasNotes(settings->AnnotationObject, settings->TextCopyObject)) {
            showInformation(QStringLiteral("Buku ini belum memiliki anotasi atau teks yang disalin, "
                                           "tidak ada catatan untuk diekspor."));
            return;
        }
        const QString path = fileDialogs().saveFile(
            view->window(), {QStringLiteral("Markdown (*.md)"), QStringLiteral("HTML File (*.html)")},
            QStringLiteral("md"), documentsFolder(), notesFileName(book->judul));
        if (path.isEmpty())
            return;
        TPdfDocument &document = *view->Document();
        const QString text = notesDocument(
            *book, settings->AnnotationObject, settings->TextCopyObject, notesFormatOf(path),
            [&document](const JsonDocument &highlight) { return highlightedPhrase(document, highlight); });
        const QString failure = writeNotesFile(path, text);
        if (!failure.isEmpty()) {
            showError(QStringLiteral("Catatan gagal disimpan : ") + failure);
            return;
        }
        messageBoxes().showTitled(MsgKind::Information, QStringLiteral("Informasi"),
                                  QStringLiteral("Berhasil Disimpan Di : ") + QDir::toNativeSeparators(path),
                                  MsgButtons::Ok);
    } catch (const std::exception &error) {
        showError(QStringLiteral("Error Exception #1356 : ") + QString::fromUtf8(error.what()));
    }
}
