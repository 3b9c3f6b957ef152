// Returning a book by hand, or because the engine refused one of its pages: the return is reported in
// the background with the last page read and the book's two documents, and the page closes once the
// service has the book back and the annotations. A return or an annotation save that fails keeps the
// page and its annotations, and the member is told.
#include "annotations/BookDocuments.h"
#include "bridge/LibraryController.h"
#include "bridge/ProgramState.h"
#include "pdfview/PdfControl.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"

#include <QTabWidget>
#include <QTimer>

namespace {
constexpr int IndentedForm = 4;
} // namespace

// The service answered and refused the return: the book is back already, or its loan has ended some
// other way (a login elsewhere ends it). Trying again cannot help, so the annotations go all the same.
// A reply the client made up after a failed call, and any "500", may pass on a later try.
bool TReaderController::loanNoLongerHeld(const JsonPtr &reply) {
    const std::string code = replyText(reply, "code");
    return replyHasCode(reply) && code != "200" && code != "500";
}

bool TReaderController::returnable(QWidget *sheet) const {
    const TReaderSettings *settings = settingsOf(sheet);
    return viewOf(sheet) && settings && bookOfTab(sheet) && !settings->Returning;
}

void TReaderController::btnReturnClick() {
    QWidget *sheet = activeSheet();
    if (!returnable(sheet))
        return; // no book in front, or its return is on its way
    // While a question waits, the book may have gone back by itself or begun going back.
    if (!askYesNo(QStringLiteral("Selesai dan kembalikan Buku Ini?")) || !returnable(sheet))
        return;
    const bool sendAnnotations = annotationsGoBack(sheet);
    if (!returnable(sheet))
        return;
    returnBook(sheet, {}, sendAnnotations);
}

// Whether this loan's annotations go back with the book. When those of the earlier loan could not be
// loaded, sending this loan's replaces them at the service: the member decides, when there is anything
// of this loan's to send.
bool TReaderController::annotationsGoBack(QWidget *sheet) {
    const TReaderSettings &settings = *settingsOf(sheet);
    if (!settings.StoredAnnotationsMissing)
        return true;
    if (settings.AnnotationObject == emptyBookDocument(bookOfTab(sheet)->id))
        return false;
    return askYesNo(
        QStringLiteral("Anotasi dari peminjaman sebelumnya tidak dapat dimuat.\nKirim anotasi yang "
                       "dibuat pada peminjaman ini? Anotasi yang tersimpan akan diganti."));
}

void TReaderController::PDFViewUnsupportedFeature(TPdfControl *sender, int pageIndex,
                                                  const QString &message) {
    QWidget *sheet = tabOfView(sender);
    if (!returnable(sheet))
        return; // not a book's view yet, or its return is on its way
    returnBook(sheet,
               bookNotShownText(message) +
                   QStringLiteral("\nHalaman %1 buku ini tidak dapat ditampilkan").arg(pageIndex + 1),
               !settingsOf(sheet)->StoredAnnotationsMissing);
}

void TReaderController::returnBook(QWidget *sheet, const QString &reason, bool sendAnnotations) {
    TPdfControl *view = viewOf(sheet);
    TReaderSettings *settings = settingsOf(sheet);
    const TDetailBook *book = bookOfTab(sheet);
    stopTimers(*settings);
    // What is sent is what the member sees: the page takes no input until the service has answered.
    settings->Returning = true;
    view->setEnabled(false);
    const int pageRead = view->IsPageValid() ? view->PageIndex() : settings->PageRead;
    startReturnReport(
        {book->id_baca, book->id, pageRead, settings->AnnotationObject.dump(IndentedForm),
         settings->TextCopyObject.dump(IndentedForm), true, sendAnnotations},
        [this, key = sheet->objectName(), idBaca = settings->IdBaca, reason](const ReturnOutcome &outcome) {
            BookReturnRequestTerminated(key, idBaca, reason, outcome);
        });
}

// The annotations and copied passages go once the service has taken the book back, or has said the loan
// is no longer held; whatever the annotation call answers, the copied passages follow.
void TReaderController::startReturnReport(ReturnReport report,
                                          std::function<void(const ReturnOutcome &)> done) {
    TRuvasaLib &client = lib;
    auto outcome = std::make_shared<ReturnOutcome>();
    BackgroundTask::start(
        QStringLiteral("bookReturn"), this,
        [&client, report, outcome](TaskContext &) {
            outcome->returned = client.BookReturnRequest(report.idBaca, report.idKonten, report.pageIndex);
            const bool taken = replyText(outcome->returned, "code") == "200";
            if (!report.sendDocuments || !(taken || loanNoLongerHeld(outcome->returned)))
                return;
            if (report.sendAnnotations)
                outcome->annotationsSaved = client.SaveAnnotationRequest(report.anotasi);
            client.SaveCopyText(report.textCopy);
        },
        [outcome, done = std::move(done)] {
            if (done)
                done(*outcome);
        });
}

void TReaderController::BookReturnRequestTerminated(const QString &key, const std::string &idBaca,
                                                    const QString &reason, const ReturnOutcome &outcome) {
    if (state.RequestCancelled)
        return;
    const int slot = slotNamed(key);
    const TReaderSettings *settings = settingsOf(slot < 0 ? nullptr : panel.sheet(slot));
    if (!settings || settings->IdBaca != idBaca)
        return; // the page has been freed meanwhile
    const std::string code = replyText(outcome.returned, "code");
    const bool kept = code != "200" && !loanNoLongerHeld(outcome.returned);
    // Why the book went back, or was meant to: the failure that follows says what became of it.
    if (!reason.isEmpty())
        showError(reason + (kept ? QStringLiteral(".") : QStringLiteral(", buku dikembalikan ke rak.")));
    if (kept) {
        keepReturnedBook(slot);
        if (isAuthFailed(outcome.returned))
            library.showSessionEnded("Authentication Error : Akun Anda Digunakan Di Perangkat Lain");
        else
            showReturnFailure(outcome.returned);
        return;
    }
    if (outcome.annotationsSaved && replyText(outcome.annotationsSaved, "code") != "200") {
        if (!askYesNo(
                QStringLiteral("Anotasi buku ini gagal disimpan : %1\nTutup buku tanpa menyimpan anotasinya?")
                    .arg(replyMessage(outcome.annotationsSaved)))) {
            keepReturnedBook(slot);
            return;
        }
    } else if (code != "200") {
        showInformation(replyMessage(outcome.returned));
    }
    freeSlot(slot);
}

void TReaderController::showReturnFailure(const JsonPtr &reply) {
    showWarning(QStringLiteral("Buku gagal dikembalikan : %1\nBuku dan anotasinya tetap terbuka, "
                               "silakan kembalikan lagi.")
                    .arg(replyMessage(reply)));
}

// The book stays out: its page takes input again and its reading time runs on.
void TReaderController::keepReturnedBook(int slot) {
    QWidget *sheet = panel.sheet(slot);
    TReaderSettings &settings = *settingsOf(sheet);
    settings.Returning = false;
    viewOf(sheet)->setEnabled(true);
    if (settings.TimerIdle)
        settings.TimerIdle->start();
    if (settings.TimerChecking)
        settings.TimerChecking->start();
}
