#pragma once
#include "pdf/BookOutline.h"

#include <QByteArray>
#include <QObject>
#include <QWidget>

#include <memory>

class PageThumbnails;
class QTreeWidget;
class QTreeWidgetItem;
class TPdfDocument;
class ThumbnailStrip;

// What the side panel shows of one open book, made the first time the panel is shown for it and kept
// with the book's reading state until the book goes back.
struct SidePanelBook {
    BookOutline outline;
    int pageCount = 0;
    // Takes the thumbnail worker's news on the UI thread. News still queued when the book goes is dropped
    // with it, so a late thumbnail of a returned book does nothing.
    QObject news;
    // Declared after `news`, so its worker has stopped before `news` goes.
    std::unique_ptr<PageThumbnails> thumbnails;

    SidePanelBook();
    ~SidePanelBook();
};

// The reader's side panel, left of the book pages: the outline of the book in front (nested, collapsible,
// its entry for the page shown marked) above the column of its page thumbnails; a book without an outline
// shows the thumbnails alone. Choosing an entry or a thumbnail asks for its page.
class BookSidePanel : public QWidget {
    Q_OBJECT
public:
    explicit BookSidePanel(QWidget *parent = nullptr);

    // The panel's contents for a book open in `document`, whose bytes are `bytes`; its thumbnails are
    // rendered from those bytes.
    std::shared_ptr<SidePanelBook> makeBook(const TPdfDocument &document, QByteArray bytes);
    // Shows a book's contents (null: none) with the page shown in the reader marked; the book shown
    // already only has its page marked, as showPage does.
    void showBook(const SidePanelBook *book, int pageIndex);
    const SidePanelBook *shownBook() const { return shown; }
    // Marks the outline's entry and the thumbnail of the page shown in the reader. The marks follow from
    // the event loop, after the turned page is painted, and a run of quick turns marks only the last page.
    void showPage(int pageIndex);

    QTreeWidget *outlineTree;
    ThumbnailStrip *thumbnailStrip;

signals:
    void pageChosen(int pageIndex);

private:
    void fillOutline(const BookOutline &outline);
    void markPage(int pageIndex);

    const SidePanelBook *shown = nullptr;
    int pageToMark = -1; // -1 while no marking waits
};
