// Searching inside the book in front: the nearest page before or after the one shown that contains the
// phrase, found on a pool thread; the view then turns to it and marks the phrase there.
#include "bridge/ProgramState.h"
#include "dialogs/MessageBoxes.h"
#include "pdf/PdfiumCtrl.h"
#include "reader/BookText.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"

#include <QLineEdit>

namespace {
enum SearchMessage { PageFound = 1, NothingFound = 3, SearchFailed = 13 };
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
    TPdfControl *view = activeView();
    TReaderSettings *settings = settingsOf(activeSheet());
    const QString keyword = panel.edSearch->text();
    const bool searching = isSearchRunning || (searchTask && !searchTask->finished());
    if (!view || !settings || !view->Document() || keyword.isEmpty() || searching)
        return;
    settings->CurrentSearchKeyWord = keyword;
    TPdfDocument &document = *view->Document();
    std::shared_ptr<BookText> text = settings->Text;
    const int fromPage = view->PageIndex();
    searchView = view;
    searchTask = BackgroundTask::start(
        QStringLiteral("searchWorker"), this,
        [&document, text, keyword, fromPage, direction](TaskContext &task) {
            isSearchRunning = true;
            try {
                const BookSearchOutcome outcome = searchBook(document, *text, keyword, fromPage, direction,
                                                             [&task] { return task.terminated(); });
                if (outcome.result == BookSearchResult::Found)
                    task.postMessage(PageFound, QString::number(outcome.page));
                else if (outcome.result == BookSearchResult::NotFound)
                    task.postMessage(NothingFound, QStringLiteral("Tidak Ditemukan"));
            } catch (const std::exception &error) {
                task.postMessage(SearchFailed, QStringLiteral("Error Exception #1338 : ") +
                                                   QString::fromUtf8(error.what()));
            }
        },
        [] { isSearchRunning = false; },
        [this, target = QPointer<TPdfControl>(view), keyword](int code, const QString &value) {
            SearchWorkerMessage(code, value, target, keyword);
        });
}

// A result goes to the book it was searched in; once that book has gone back it changes nothing.
void TReaderController::SearchWorkerMessage(int code, const QString &text, const QPointer<TPdfControl> &view,
                                            const QString &keyword) {
    if (!view)
        return;
    switch (code) {
    case PageFound:
        view->SetPageIndex(text.toInt());
        view->HightlightText(keyword, false, true);
        break;
    case NothingFound:
        messageBoxes().show(MsgKind::Information, text, MsgButtons::Ok);
        break;
    case SearchFailed:
        messageBoxes().show(MsgKind::Error, text, MsgButtons::Ok);
        break;
    default:
        break;
    }
}

void TReaderController::stopSearchOn(const TPdfControl *view) {
    if (!searchTask || !view || searchView != view)
        return;
    searchTask->terminate();
    searchTask->waitFor();
    searchTask.reset();
}
