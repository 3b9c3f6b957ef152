#include "reader/BookSidePanel.h"

#include "pdf/PageThumbnails.h"
#include "pdf/PdfiumCore.h"
#include "reader/ThumbnailStrip.h"

#include <QHeaderView>
#include <QPointer>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int PageRole = Qt::UserRole;

void addEntries(const BookOutline &level, QTreeWidgetItem *parent, QTreeWidget *tree) {
    for (const OutlineEntry &entry : level) {
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, entry.title);
        item->setToolTip(0, entry.title);
        item->setData(0, PageRole, entry.pageIndex);
        addEntries(entry.children, item, tree);
    }
}

} // namespace

SidePanelBook::SidePanelBook() = default;
SidePanelBook::~SidePanelBook() = default;

BookSidePanel::BookSidePanel(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("BookSidePanel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *split = new QSplitter(Qt::Vertical, this);
    outlineTree = new QTreeWidget(split);
    outlineTree->setObjectName(QStringLiteral("outlineTree"));
    outlineTree->setAccessibleName(QStringLiteral("Daftar Isi"));
    outlineTree->setToolTip(QStringLiteral("Daftar Isi: klik untuk ke bagian itu"));
    outlineTree->setHeaderHidden(true);
    outlineTree->header()->setStretchLastSection(true);
    thumbnailStrip = new ThumbnailStrip(split);
    thumbnailStrip->setObjectName(QStringLiteral("thumbnailStrip"));
    thumbnailStrip->setAccessibleName(QStringLiteral("Gambar Halaman"));
    split->addWidget(outlineTree);
    split->addWidget(thumbnailStrip);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 2);
    layout->addWidget(split);
    setFixedWidth(ThumbnailStrip::thumbnailBox().width() + 120);

    const auto choose = [this](QTreeWidgetItem *item) {
        const int page = item->data(0, PageRole).toInt();
        if (page >= 0)
            emit pageChosen(page);
    };
    connect(outlineTree, &QTreeWidget::itemClicked, this, choose);
    connect(outlineTree, &QTreeWidget::itemActivated, this, choose);
    connect(thumbnailStrip, &ThumbnailStrip::pageChosen, this, &BookSidePanel::pageChosen);
}

std::shared_ptr<SidePanelBook> BookSidePanel::makeBook(const TPdfDocument &document, QByteArray bytes) {
    auto book = std::make_shared<SidePanelBook>();
    book->outline = readOutline(document);
    book->pageCount = document.Active() ? document.PageCount() : 0;
    QObject *news = &book->news;
    QPointer<ThumbnailStrip> strip = thumbnailStrip;
    book->thumbnails = std::make_unique<PageThumbnails>(
        std::move(bytes), ThumbnailStrip::thumbnailBox(), ThumbnailStrip::thumbnailByteCap(),
        [news, strip, owner = book.get()](int pageIndex) {
            QMetaObject::invokeMethod(
                news,
                [strip, owner, pageIndex] {
                    if (strip)
                        strip->thumbnailRendered(owner->thumbnails.get(), pageIndex);
                },
                Qt::QueuedConnection);
        });
    return book;
}

void BookSidePanel::showBook(const SidePanelBook *book, int pageIndex) {
    if (book == shown) {
        if (book)
            showPage(pageIndex);
        return;
    }
    shown = book;
    pageToMark = -1; // a mark still waiting was for the book shown before
    fillOutline(book ? book->outline : BookOutline());
    thumbnailStrip->showBook(book ? book->thumbnails.get() : nullptr, book ? book->pageCount : 0, pageIndex);
    markPage(pageIndex);
}

void BookSidePanel::fillOutline(const BookOutline &outline) {
    outlineTree->clear();
    addEntries(outline, nullptr, outlineTree);
    outlineTree->setVisible(!outline.empty());
}

void BookSidePanel::showPage(int pageIndex) {
    const bool waiting = pageToMark >= 0;
    pageToMark = pageIndex;
    if (!waiting)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (const int page = std::exchange(pageToMark, -1); page >= 0)
                    markPage(page);
            },
            Qt::QueuedConnection);
}

void BookSidePanel::markPage(int pageIndex) {
    if (!shown)
        return;
    thumbnailStrip->showPage(pageIndex);
    QTreeWidgetItem *item = nullptr;
    for (int child : outlinePathOfPage(shown->outline, pageIndex))
        item = item ? item->child(child) : outlineTree->topLevelItem(child);
    if (item) {
        outlineTree->setCurrentItem(item);
        outlineTree->scrollToItem(item);
    } else {
        outlineTree->setCurrentItem(nullptr);
        outlineTree->clearSelection();
    }
}
