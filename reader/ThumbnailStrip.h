#pragma once
#include <QListView>

class PageThumbnails;
class ThumbnailModel;

// The side panel's column of page thumbnails. It asks its book's thumbnails for the pages it shows and
// then those around them, again whenever it scrolls or changes size, and shows each one as it comes; a
// page not yet rendered shows a blank frame. A click (or Enter) on a page chooses it.
class ThumbnailStrip : public QListView {
    Q_OBJECT
public:
    explicit ThumbnailStrip(QWidget *parent = nullptr);
    ~ThumbnailStrip() override;

    // Shows the pages of a book (null: none) at the page shown in the reader, and asks for the thumbnails
    // in view; the book it showed before is asked for none.
    void showBook(PageThumbnails *thumbnails, int pageCount, int pageIndex);
    PageThumbnails *shownBook() const;
    // Marks the page shown in the reader and scrolls it into view.
    void showPage(int pageIndex);
    // A thumbnail of `thumbnails` came in: it is shown if that book still is.
    void thumbnailRendered(const PageThumbnails *thumbnails, int pageIndex);
    // The first and last page in view; -1, -1 when none is.
    std::pair<int, int> pagesInView() const;

    // The box a thumbnail fits in, and the bytes of thumbnails a book holds at most: a few MiB, whatever
    // the book's length.
    static QSize thumbnailBox();
    static std::size_t thumbnailByteCap();

signals:
    void pageChosen(int pageIndex);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Asks the book for the pages in view, then outwards, as many as its store keeps at once: from the
    // event loop, once the strip has settled (a scroll to the page shown moves it several times).
    void askForPagesInView();
    void askNow();

    ThumbnailModel *pages;
    bool askWaiting = false;
};
