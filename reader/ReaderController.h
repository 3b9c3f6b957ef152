#pragma once
#include "bridge/BorrowRequest.h"
#include "bridge/LibraryWindow.h"
#include "bridge/ProgramState.h"
#include "reader/ReaderRecords.h"
#include "service/BookDownload.h"
#include "service/JsonDocument.h"
#include "tasks/BackgroundTask.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <string>

class ReaderPanel;
class ReaderViewHandlers;
class TLibraryController;
class TPdfControl;
class TRuvasaLib;

// The reader side of the main window: borrows books into the reader's three pages, drives the toolbar
// for the page in front, counts reading time, returns books by hand or after idleness, and searches
// inside a book. Everything runs on the UI thread; background tasks hand their results back to it.
class TReaderController : public QObject {
    Q_OBJECT
public:
    TReaderController(LibraryWindow &window, TLibraryController &library, ReaderPanel &panel, TRuvasaLib &lib,
                      QObject *parent = nullptr);
    ~TReaderController() override;

    // The program-wide values, owned by the main window.
    ProgramState &state;

    // ---- Reader state: one entry per open book ----
    std::map<std::string, std::unique_ptr<TDetailBook>> readDict;    // by content id
    std::map<QString, std::unique_ptr<TReaderSettings>> readerState; // by page name

    // The first page that holds no book, -1 when all three do.
    int firstFreeSlot() const;
    bool anyBookOpen() const;
    // The book view a page holds, or null.
    TPdfControl *viewOf(QWidget *sheet) const;
    TDetailBook *bookOfTab(const QWidget *sheet) const;
    TReaderSettings *settingsOf(const QWidget *sheet) const;
    // The page in front (null when none is) and its view.
    QWidget *activeSheet() const;
    TPdfControl *activeView() const;
    // Frees every record, document and view left (the window is closing).
    void releaseAll();
    // The handlers every new book view gets besides the reader's own (not owned; may be null).
    void setViewHandlers(ReaderViewHandlers *handlers) { viewHandlers = handlers; }
    // The book record and reading state of the page in front, null when it holds no book.
    TDetailBook *activeBook() const { return bookOfTab(activeSheet()); }
    TReaderSettings *activeSettings() const { return settingsOf(activeSheet()); }

    // ---- Borrowing ----
    // When the book `idKonten` is open already, brings its page and the reader to the front (at
    // `pageToJump`, a sentence-search hit, with the phrase marked, unless it is 0) and returns true.
    bool showOpenBook(const std::string &idKonten, int pageToJump);
    // Starts fetching the book of `borrow`; the borrowing goes on with it once the book is in.
    void startBookDownload(const BorrowRequest &borrow);
    void netRequestRequestCompleted(int status, const QByteArray &body);
    void netRequestRequestError(const QString &errorText);

    // ---- Toolbar ----
    void btnNextClick();
    void btnPreviousClick();
    // Enter in the page box: goes to the typed page, or says there is none and shows the page again.
    void edPageReturnPressed();
    void PDFViewPageChange(TPdfControl *sender);
    void cmbZoomChange();
    void CheckAutoPageClick();
    void AnnotViewClick();
    void PageControl1Change();
    void PDFViewMouseMove(TPdfControl *sender);

    // ---- Keys (ReaderKeys.cpp) ----
    // A key going down on a book view, before the view's own keys: Space and Shift+Space turn the screen
    // as Page Down and Page Up do; with automatic page change on, an arrow at the page's end turns it.
    void PDFViewKeyDown(TPdfControl *sender, int &key, Qt::KeyboardModifiers shift);
    // The reader's shortcuts, for the page in front.
    void goToNextTab(int step);
    void zoomStep(int step);
    void focusSearch();
    void leaveToolOrSearch();

    // ---- Undo and redo of annotation changes (AnnotationUndo.cpp) ----
    // After the member changed the annotations of the page `sheet`: the change can be undone.
    void annotationsChanged(QWidget *sheet);
    void undoAnnotation();
    void redoAnnotation();

    // ---- Side panel: the outline and page thumbnails (OutlineAndThumbnails.cpp) ----
    // Shows or hides the side panel while the page in front is; each page keeps its own choice.
    void setSidePanelShown(bool shown);
    // The side panel follows the page in front: shown or hidden as that page was left, with its book.
    void showSidePanel();
    // An outline entry or a thumbnail was chosen: the book in front turns to its page.
    void sidePanelPageChosen(int pageIndex);

    // ---- Reading time: what each one-second tick of a page's two timers does ----
    void readingTimeTick(QTimer *timer);
    // The status line shows the minutes the book in front has left before it goes back by itself.
    void showIdleClock();

    // ---- Returning ----
    void btnReturnClick();
    // The engine refused a page of the book a view shows: the book cannot be read on, so it goes back
    // as by the return button, without the question, and the member is told why.
    void PDFViewUnsupportedFeature(TPdfControl *sender, int pageIndex, const QString &message);

    // ---- In-book search ----
    void btnSearchNextClick();
    void btnSearchPreviousClick();
    // Enter in the search box.
    void edSearchKeyPress(int key);
    void edSearchChange();

signals:
    // A book's bytes are arriving (expected 0 while unknown); `downloadEnded` follows in every case.
    void downloadProgress(qint64 received, qint64 expected);
    void downloadEnded();

protected:
    // Shift+Enter in the search box searches backwards.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Loan;
    void connectKeys();
    struct ReturnReport {
        std::string idBaca, idKonten;
        int pageIndex = 0;
        std::string anotasi, textCopy;
        bool sendDocuments = true;
        bool sendAnnotations = true;
    };
    struct ReturnOutcome {
        JsonPtr returned;         // the reply to the return
        JsonPtr annotationsSaved; // the reply to the annotations, null when they were not sent
    };

    void connectToolbar();
    // The detail page again, once a borrowing has ended (with a page or, after a failure, without one).
    void reloadDetailPage();
    void bringReaderToFront();
    // The panel shows the pages and an enabled toolbar exactly while a book is open.
    void showReaderState();
    QWidget *tabOfView(const TPdfControl *view) const;
    int slotOf(const QWidget *sheet) const;
    // The slot whose page has the name `key`, -1 when none has.
    int slotNamed(const QString &key) const;

    void ReadPermissionRequestTerminated(const std::shared_ptr<Loan> &loan);
    void openGrantedLoan(Loan &loan);
    bool streamProcess(Loan &loan, int slot, const TDetailBook &book);
    // What the member reads when a book cannot be shown: at its set-up, or at a page the engine refuses.
    static QString bookNotShownText(const QString &error);
    void setUpTab(Loan &loan, QWidget *sheet, const TDetailBook &book);
    JsonDocument storedAnnotations(const std::string &idKonten, std::string &problem);
    QString startPage(TPdfControl &view, const TDetailBook &book, const BorrowRequest &borrow);
    void startTimers(TPdfControl &view, QWidget *sheet, TReaderSettings &settings);
    void attachViewHandlers(TPdfControl &view);

    // Closes and frees the book of a page with its records and documents; the page's tab is hidden.
    void freeSlot(int slot);
    void stopTimers(TReaderSettings &settings);
    // The page holds a book whose return has not begun.
    bool returnable(QWidget *sheet) const;
    // Sends the book of `sheet` back with its last page and documents; its page takes no input until the
    // service has answered. `reason`, when not empty, is shown to the member with the answer, which
    // it ends by saying whether the book went back. `sendAnnotations`: this loan's annotation document
    // goes too.
    void returnBook(QWidget *sheet, const QString &reason, bool sendAnnotations);
    // Whether this loan's annotations go back with the book of `sheet`; may ask the member.
    bool annotationsGoBack(QWidget *sheet);
    // `done`, when given, gets the service's answers on the UI thread.
    void startReturnReport(ReturnReport report, std::function<void(const ReturnOutcome &)> done = {});
    void BookReturnRequestTerminated(const QString &key, const std::string &idBaca, const QString &reason,
                                     const ReturnOutcome &outcome);
    void keepReturnedBook(int slot);
    // The return did not reach the service: the book stays open for another try.
    static void showReturnFailure(const JsonPtr &reply);
    // A refusal of a call about a loan that says the loan has ended already.
    static bool loanNoLongerHeld(const JsonPtr &reply);
    void startReadStatusReport(const QString &key, TReaderSettings &settings);
    void UpdateReadStatusTerminated(const QString &key, const BackgroundTask *task, int sentStatus,
                                    const JsonPtr &reply);
    void automaticReturn(const QString &key);
    // The service did not take the idle book's last report: the member is told once per book.
    void idleReturnFailed(TReaderSettings &settings, const JsonPtr &reply);
    // Five minutes before the idle limit of a page's book, a notice says so; movement hides it.
    void showIdleNotice(const QString &key);
    void hideIdleNotice(const QString &key);

    struct SearchWalk {
        QString keyword;
        int direction = 1; // 1 next, 0 previous
        bool fromOtherEnd = false;
    };
    void startSearch(int direction);
    void startSearchWalk(const SearchWalk &walk);
    void SearchWorkerMessage(int code, const QString &text, const QPointer<TPdfControl> &view,
                             const SearchWalk &walk);
    void nothingFound(const QString &text, TPdfControl &view, const SearchWalk &walk);
    // Ends a search that reads `view`'s document before the view goes.
    void stopSearchOn(const TPdfControl *view);
    void restoreToolbar(const TReaderSettings &settings, TPdfControl &view);
    // The undo and redo buttons follow the history of the book in front.
    void showUndoState();

    LibraryWindow &window;
    TLibraryController &library;
    ReaderPanel &panel;
    TRuvasaLib &lib;
    BookDownload netRequest;
    BorrowRequest downloading; // the borrowing whose book is being downloaded
    TaskHandle searchTask;
    QPointer<TPdfControl> searchView;
    ReaderViewHandlers *viewHandlers = nullptr;
    QString idleNoticeKey; // the page whose book the idle notice is about, empty when none
};
