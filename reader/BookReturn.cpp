// Returning a book by hand: the page is closed at once, and the return is reported in the background
// with the last page read and the book's two documents.
#include "bridge/ReplyValues.h"
#include "dialogs/MessageBoxes.h"
#include "pdf/PdfiumCtrl.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"
#include "service/RuvasaLib.h"

#include <QTabWidget>

namespace {
constexpr int IndentedForm = 4;
} // namespace

void TReaderController::btnReturnClick() {
    QWidget *sheet = activeSheet();
    TPdfControl *view = viewOf(sheet);
    TReaderSettings *settings = settingsOf(sheet);
    const TDetailBook *book = bookOfTab(sheet);
    if (!view || !settings || !book)
        return; // no book in front: nothing to return
    if (!askYesNo(QStringLiteral("Selesai dan kembalikan Buku Ini?")))
        return;
    stopTimers(*settings);
    // The documents are written out before anything is freed.
    startReturnReport(
        {book->id_baca, book->id, view->PageIndex(), settings->AnnotationObject.dump(IndentedForm),
         settings->TextCopyObject.dump(IndentedForm), true, !settings->StoredAnnotationsMissing});
    freeSlot(slotOf(sheet));
}

// The annotations and copied passages go only after the service has taken the book back; whatever
// the annotation call answers, the copied passages follow. No outcome is shown: the page is gone.
void TReaderController::startReturnReport(ReturnReport report) {
    TRuvasaLib &client = lib;
    BackgroundTask::start(
        QStringLiteral("bookReturn"), this,
        [&client, report](TaskContext &) {
            JsonPtr reply = client.BookReturnRequest(report.idBaca, report.idKonten, report.pageIndex);
            if (replyText(reply, "code") != "200" || !report.sendDocuments)
                return;
            if (report.sendAnnotations)
                client.SaveAnnotationRequest(report.anotasi);
            client.SaveCopyText(report.textCopy);
        },
        [] {});
}
