#include "reader/ThumbnailStrip.h"

#include "pdf/PageThumbnails.h"

#include <QAbstractListModel>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

// A row per page: its number, and its thumbnail or a blank frame while there is none.
class ThumbnailModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setBook(PageThumbnails *source, int count) {
        beginResetModel();
        thumbnails = source;
        pageCount = source ? count : 0;
        endResetModel();
    }
    PageThumbnails *book() const { return thumbnails; }
    void pageArrived(int pageIndex) {
        const QModelIndex at = index(pageIndex);
        emit dataChanged(at, at, {Qt::DecorationRole});
    }

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : pageCount; }
    QVariant data(const QModelIndex &index, int role) const override {
        if (!thumbnails || !index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return QString::number(index.row() + 1);
        if (role == Qt::DecorationRole) {
            const QImage image = thumbnails->thumbnail(index.row());
            return image.isNull() ? blankFrame : image;
        }
        if (role == Qt::AccessibleTextRole)
            return QStringLiteral("Halaman %1").arg(index.row() + 1);
        return {};
    }

private:
    // A light frame of the thumbnail box.
    static QImage makeBlankFrame() {
        QImage image(ThumbnailStrip::thumbnailBox(), QImage::Format_RGB32);
        image.fill(QColor(0xf2, 0xf2, 0xf2));
        QPainter painter(&image);
        painter.setPen(QColor(0xc8, 0xc8, 0xc8));
        painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
        return image;
    }

    const QImage blankFrame = makeBlankFrame();
    PageThumbnails *thumbnails = nullptr;
    int pageCount = 0;
};

ThumbnailStrip::ThumbnailStrip(QWidget *parent) : QListView(parent), pages(new ThumbnailModel(this)) {
    setModel(pages);
    setViewMode(QListView::IconMode);
    setFlow(QListView::TopToBottom);
    setWrapping(false);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QSize box = thumbnailBox();
    setIconSize(box);
    setGridSize(QSize(box.width() + 24, box.height() + fontMetrics().height() + 12));
    setSpacing(0);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ThumbnailStrip::askForPagesInView);
    connect(this, &QListView::clicked, this,
            [this](const QModelIndex &index) { emit pageChosen(index.row()); });
    connect(this, &QListView::activated, this,
            [this](const QModelIndex &index) { emit pageChosen(index.row()); });
}

ThumbnailStrip::~ThumbnailStrip() = default;

QSize ThumbnailStrip::thumbnailBox() {
    return {96, 128};
}

// A strip shows five or six thumbnails; 8 MiB keep some 170 of them, so scrolling back a few screens finds
// them still there, and a book of any length stays within it.
std::size_t ThumbnailStrip::thumbnailByteCap() {
    return std::size_t(8) << 20;
}

void ThumbnailStrip::showBook(PageThumbnails *thumbnails, int pageCount) {
    if (thumbnails == pages->book())
        return;
    if (PageThumbnails *before = pages->book())
        before->request({});
    pages->setBook(thumbnails, pageCount);
    askForPagesInView();
}

PageThumbnails *ThumbnailStrip::shownBook() const {
    return pages->book();
}

void ThumbnailStrip::showPage(int pageIndex) {
    const QModelIndex index = pages->index(pageIndex);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::EnsureVisible);
    askForPagesInView();
}

void ThumbnailStrip::thumbnailRendered(const PageThumbnails *thumbnails, int pageIndex) {
    if (thumbnails && thumbnails == pages->book())
        pages->pageArrived(pageIndex);
}

std::pair<int, int> ThumbnailStrip::pagesInView() const {
    const int count = pages->rowCount(QModelIndex());
    if (count == 0)
        return {-1, -1};
    // One page a grid row, scrolled by pixels.
    const int row = std::max(gridSize().height(), 1);
    const int top = verticalScrollBar()->value();
    const int first = std::clamp(top / row, 0, count - 1);
    return {first, std::clamp((top + viewport()->height() - 1) / row, first, count - 1)};
}

void ThumbnailStrip::askForPagesInView() {
    PageThumbnails *thumbnails = pages->book();
    if (!thumbnails)
        return;
    if (!isVisible()) {
        thumbnails->request({});
        return;
    }
    const auto [first, last] = pagesInView();
    // Half of what the store keeps, so that the pages in view are never the ones given up for those around.
    const int keeps = int(thumbnailByteCap() / PageThumbnails::bytesPerThumbnail(thumbnailBox()));
    thumbnails->request(thumbnailOrder(first, last, pages->rowCount(QModelIndex()), std::max(keeps / 2, 1)));
}

void ThumbnailStrip::resizeEvent(QResizeEvent *event) {
    QListView::resizeEvent(event);
    askForPagesInView();
}

void ThumbnailStrip::showEvent(QShowEvent *event) {
    QListView::showEvent(event);
    askForPagesInView();
}
