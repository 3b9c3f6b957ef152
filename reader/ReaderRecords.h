#pragma once
#include "annotations/AnnotationHistory.h"
#include "model/DetailBook.h"
#include "service/JsonDocument.h"
#include "tasks/BackgroundTask.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>
#include <string>

class BookText;
struct SidePanelBook;

// The reading state of one reader page.
struct TReaderSettings {
    QString CurrentPage; // text of the page box: "page/total"
    int CurrentZoomIndex = 2;
    bool CurrentAnnotViewState = false;
    bool CurrentTextSelectState = false;
    bool CurrentTextAnnotState = false;
    bool CurrentRectAnnotState = false;
    bool CurrentHighlightAnnotState = false;
    bool CurrentPenAnnotState = false;
    bool CurrentAnnotDeleteState = false;
    QString CurrentSearchKeyWord;
    bool AutoPageChange = true;
    JsonDocument AnnotationObject;
    // The member's changes to AnnotationObject since borrowing, to undo and redo.
    AnnotationHistory History;
    JsonDocument TextCopyObject;
    int IdleTime = 0;                          // seconds without pointer movement over the page
    int CheckingTime = 0;                      // seconds since the last reading-status report
    QPointer<QTimer> TimerIdle, TimerChecking; // owned by the page's view
    bool TimerRunning = false;
    TaskHandle TimerTask; // the reading-status report in flight
    int ReadStatus = 1;   // 1 while the book counts as being read, 0 once the idle limit was reached
    std::string IdBaca;
    // The annotations of an earlier loan could not be fetched or read: returning must not replace them
    // with this loan's (possibly empty) document.
    bool StoredAnnotationsMissing = false;
    // The member has been told that the service did not take the idle book back (once per book).
    bool IdleReturnFailureShown = false;
    // The return has been asked of the service and its answer is awaited.
    bool Returning = false;
    // The last page shown that the engine did not refuse: what a return reports as the last page read
    // when the view stands on a refused page, so the next loan does not offer to resume there.
    int PageRead = 0;
    // The book's page text as the in-book search reads it, kept between searches.
    std::shared_ptr<BookText> Text;
    // The downloaded book, shared with the view's document (not a copy); the side panel's thumbnails are
    // rendered from it.
    QByteArray BookBytes;
    // Whether the side panel is shown while this page is in front, and what it shows of the book, made
    // the first time it is shown.
    bool SidePanelShown = false;
    std::shared_ptr<SidePanelBook> SidePanel;
};
