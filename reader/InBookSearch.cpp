// Searching inside the book in front: the nearest page before or after the one shown that contains the
// phrase, found on a pool thread; the view then turns to it and marks the phrase there.
#include "bridge/ProgramState.h"
#include "pdf/BookText.h"
#include "pdfview/PdfControl.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"

#include <QLineEdit>

namespace {
// PageRefused: the walk met a page the engine refuses; the view turns to it and reports it as any page
// it reaches.
enum SearchMessage { PageFound = 1, PageRefused = 2, NothingFound = 3, SearchFailed = 13 };
} // namespace

void TReaderController::btnSearchNextClick() {
    startSearch(1);
}

void TReaderController::btnSearchPreviousClick() {
    startSearch(0);
}

void TReaderController::edSearchKeyPress(int key) {
    if (key == 13 && !panel.edSearch->text().isEmpty())
        btnSearchNextClick();
}

void TReaderController::edSearchChange() {
    TPdfControl *view = activeView();
    if (view && panel.edSearch->text().isEmpty())
        view->ClearHighlightText();
}

// The view's document stays open while the task reads it: a page is freed only after its search has
// ended (see stopSearchOn).
void TReaderController::startSearch(int direction) {
    startSearchWalk({panel.edSearch->text(), direction, false});
}

// A walk forward or backward from the page shown, or, when the member asked for it after the first walk
// found nothing, from the other end of the book back to the page shown.
void TReaderController::startSearchWalk(const SearchWalk &walk) {
    TPdfControl *view = activeView();
    TReaderSettings *settings = settingsOf(activeSheet());
    const bool searching = state.isSearchRunning || (searchTask && !searchTask->finished());
    if (!view || !settings || !view->Document() || walk.keyword.isEmpty() || searching)
        return;
    settings->CurrentSearchKeyWord = walk.keyword;
    TPdfDocument &document = *view->Document();
    std::shared_ptr<BookText> text = settings->Text;
    const int fromPage = view->PageIndex();
    searchView = view;
    state.isSearchRunning = true;
    searchTask = BackgroundTask::start(
        QStringLiteral("searchWorker"), this,
        [&document, text, walk, fromPage](TaskContext &task) {
            try {
                const auto cancelled = [&task] { return task.terminated(); };
                const BookSearchOutcome outcome =
                    walk.fromOtherEnd
                        ? searchBookFromOtherEnd(document, *text, walk.keyword, fromPage, walk.direction,
                                                 cancelled)
                        : searchBook(document, *text, walk.keyword, fromPage, walk.direction, cancelled);
                if (outcome.result == BookSearchResult::Found)
                    task.postMessage(PageFound, QString::number(outcome.page));
                else if (outcome.result == BookSearchResult::Refused)
                    task.postMessage(PageRefused, QString::number(outcome.page));
                else if (outcome.result != BookSearchResult::Cancelled)
                    task.postMessage(NothingFound, QStringLiteral("Tidak Ditemukan"));
            } catch (const std::exception &error) {
                task.postMessage(SearchFailed, QStringLiteral("Error Exception #1338 : ") +
                                                   QString::fromUtf8(error.what()));
            }
        },
        [this] { state.isSearchRunning = false; },
        [this, target = QPointer<TPdfControl>(view), walk](int code, const QString &value) {
            SearchWorkerMessage(code, value, target, walk);
        });
}

// A result goes to the book it was searched in; once that book has gone back it changes nothing.
void TReaderController::SearchWorkerMessage(int code, const QString &text, const QPointer<TPdfControl> &view,
                                            const SearchWalk &walk) {
    if (!view)
        return;
    switch (code) {
    case PageFound:
        view->SetPageIndex(text.toInt());
        view->HightlightText(walk.keyword, BookSearchMatchCase, BookSearchWholeWord);
        break;
    case PageRefused:
        view->SetPageIndex(text.toInt());
        break;
    case NothingFound:
        nothingFound(text, *view, walk);
        break;
    case SearchFailed:
        messageBoxes().show(MsgKind::Error, text, MsgButtons::Ok);
        break;
    default:
        break;
    }
}

// Nothing lies ahead: the marks of another phrase go, and the member may go on from the other end of the
// book. The question waits for the member, so the walk from the other end starts once this task has ended.
void TReaderController::nothingFound(const QString &text, TPdfControl &view, const SearchWalk &walk) {
    if (view.HighlightedText().compare(walk.keyword, Qt::CaseInsensitive) != 0)
        view.ClearHighlightText();
    if (walk.fromOtherEnd) {
        messageBoxes().show(MsgKind::Information, text, MsgButtons::Ok);
        return;
    }
    const QString question = walk.direction == 1 ? QStringLiteral("%1. Lanjutkan pencarian dari awal buku?")
                                                 : QStringLiteral("%1. Lanjutkan pencarian dari akhir buku?");
    if (messageBoxes().show(MsgKind::Confirmation, question.arg(text), MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    QPointer<TPdfControl> target(&view);
    QMetaObject::invokeMethod(
        this,
        [this, target, walk] {
            if (target && target == activeView())
                startSearchWalk({walk.keyword, walk.direction, true});
        },
        Qt::QueuedConnection);
}

void TReaderController::stopSearchOn(const TPdfControl *view) {
    if (!searchTask || !view || searchView != view)
        return;
    searchTask->terminate();
    searchTask->waitFor();
    searchTask.reset();
}
