#include "reader/ThumbnailStrip.h"

#include "pdf/PageThumbnails.h"

#include <QAbstractListModel>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>

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

// Draws a row: the thumbnail (or its frame) centred in the box, the page number under it, the whole row
// highlighted for the page shown. Every row has the same size, so the list lays out 1,600 pages without
// asking any of them for its picture.
class ThumbnailDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static QSize rowSize(const QFontMetrics &metrics) {
        const QSize box = ThumbnailStrip::thumbnailBox();
        return {box.width() + 2 * Margin, box.height() + metrics.height() + 3 * Margin};
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override {
        return rowSize(option.fontMetrics);
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        const QRect row = option.rect;
        if (option.state & QStyle::State_Selected)
            painter->fillRect(row, option.palette.highlight());
        const QImage image = index.data(Qt::DecorationRole).value<QImage>();
        const QSize box = ThumbnailStrip::thumbnailBox();
        const QRect place(row.left() + (row.width() - image.width()) / 2,
                          row.top() + Margin + (box.height() - image.height()) / 2, image.width(),
                          image.height());
        painter->drawImage(place, image);
        painter->setPen(QColor(0x90, 0x90, 0x90));
        painter->drawRect(place.adjusted(0, 0, -1, -1));
        painter->setPen(option.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                   : QPalette::Text));
        const QRect label(row.left(), row.top() + 2 * Margin + box.height(), row.width(),
                          option.fontMetrics.height());
        painter->drawText(label, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
    }

private:
    static constexpr int Margin = 6;
};

ThumbnailStrip::ThumbnailStrip(QWidget *parent) : QListView(parent), pages(new ThumbnailModel(this)) {
    setModel(pages);
    setItemDelegate(new ThumbnailDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
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

// A strip shows five or six thumbnails; 6 MiB keep some 130 of them, so scrolling back a few screens
// finds them still there, and a book of any length stays within it.
std::size_t ThumbnailStrip::thumbnailByteCap() {
    return std::size_t(6) << 20;
}

void ThumbnailStrip::showBook(PageThumbnails *thumbnails, int pageCount, int pageIndex) {
    if (PageThumbnails *before = pages->book())
        before->request({});
    pages->setBook(thumbnails, pageCount);
    showPage(pageIndex);
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
    // One page a row, all rows of one height, scrolled by pixels.
    const int row = ThumbnailDelegate::rowSize(fontMetrics()).height();
    const int top = verticalScrollBar()->value();
    const int first = std::clamp(top / row, 0, count - 1);
    return {first, std::clamp((top + viewport()->height() - 1) / row, first, count - 1)};
}

void ThumbnailStrip::askForPagesInView() {
    if (std::exchange(askWaiting, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            askWaiting = false;
            askNow();
        },
        Qt::QueuedConnection);
}

void ThumbnailStrip::askNow() {
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
