// The reader's three pages, the records of the books they hold, and freeing them.
#include "bridge/LibraryController.h"
#include "bridge/ProgramState.h"
#include "pdf/BookText.h"
#include "pdfview/PdfControl.h"
#include "reader/BookSidePanel.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"
#include "service/RuvasaLib.h"
#include "web/BrowserView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>

TReaderController::TReaderController(LibraryWindow &window, TLibraryController &library, ReaderPanel &panel,
                                     TRuvasaLib &lib, QObject *parent)
    : QObject(parent), state(library.state), window(window), library(library), panel(panel), lib(lib),
      netRequest(lib.serviceEndpoint()) {
    connect(&netRequest, &BookDownload::completed, this, &TReaderController::netRequestRequestCompleted);
    connect(&netRequest, &BookDownload::failed, this, &TReaderController::netRequestRequestError);
    connect(&netRequest, &BookDownload::progress, this, &TReaderController::downloadProgress);
    connectToolbar();
    connectKeys();
    showReaderState();
}

TReaderController::~TReaderController() {
    releaseAll();
}

void TReaderController::connectToolbar() {
    connect(panel.btnNext, &QToolButton::clicked, this, &TReaderController::btnNextClick);
    connect(panel.btnPrevious, &QToolButton::clicked, this, &TReaderController::btnPreviousClick);
    connect(panel.edPage, &QLineEdit::returnPressed, this, &TReaderController::edPageReturnPressed);
    // A page number typed but not confirmed gives way to the page shown when the box loses the focus.
    connect(panel.edPage, &QLineEdit::editingFinished, this, [this] {
        if (const TReaderSettings *settings = activeSettings())
            panel.edPage->setText(settings->CurrentPage);
    });
    connect(panel.cmbZoom, &QComboBox::activated, this, &TReaderController::cmbZoomChange);
    connect(panel.CheckAutoPage, &QCheckBox::toggled, this, &TReaderController::CheckAutoPageClick);
    connect(panel.AnnotView, &QCheckBox::toggled, this, &TReaderController::AnnotViewClick);
    connect(panel.PageControl1, &QTabWidget::currentChanged, this, &TReaderController::PageControl1Change);
    connect(panel.btnReturn, &QToolButton::clicked, this, &TReaderController::btnReturnClick);
    connect(panel.btnSidePanel, &QToolButton::clicked, this, &TReaderController::setSidePanelShown);
    connect(panel.sidePanel, &BookSidePanel::pageChosen, this, &TReaderController::sidePanelPageChosen);
    connect(panel.btnAnnotUndo, &QToolButton::clicked, this, &TReaderController::undoAnnotation);
    connect(panel.btnAnnotRedo, &QToolButton::clicked, this, &TReaderController::redoAnnotation);
    connect(panel.btnSearchNext, &QToolButton::clicked, this, &TReaderController::btnSearchNextClick);
    connect(panel.btnSearchPrevious, &QToolButton::clicked, this, &TReaderController::btnSearchPreviousClick);
    connect(panel.edSearch, &QLineEdit::returnPressed, this, [this] { edSearchKeyPress(13); });
    connect(panel.edSearch, &QLineEdit::textChanged, this, &TReaderController::edSearchChange);
}

TPdfControl *TReaderController::viewOf(QWidget *sheet) const {
    if (!sheet)
        return nullptr;
    return sheet->findChild<TPdfControl *>(QString(), Qt::FindDirectChildrenOnly);
}

namespace {
// A page is taken exactly when it holds a control (the book's view).
bool holdsControl(const QWidget *sheet) {
    return !sheet->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).isEmpty();
}
} // namespace

int TReaderController::firstFreeSlot() const {
    for (int slot = 0; slot < ReaderPanel::SlotCount; ++slot)
        if (!holdsControl(panel.sheet(slot)))
            return slot;
    return -1;
}

bool TReaderController::anyBookOpen() const {
    for (int slot = 0; slot < ReaderPanel::SlotCount; ++slot)
        if (holdsControl(panel.sheet(slot)))
            return true;
    return false;
}

int TReaderController::slotOf(const QWidget *sheet) const {
    for (int slot = 0; slot < ReaderPanel::SlotCount; ++slot)
        if (panel.sheet(slot) == sheet)
            return slot;
    return -1;
}

int TReaderController::slotNamed(const QString &key) const {
    for (int slot = 0; slot < ReaderPanel::SlotCount; ++slot)
        if (panel.sheet(slot)->objectName() == key)
            return slot;
    return -1;
}

TDetailBook *TReaderController::bookOfTab(const QWidget *sheet) const {
    for (const auto &[id, book] : readDict)
        if (book->TabSheet == sheet)
            return book.get();
    return nullptr;
}

TReaderSettings *TReaderController::settingsOf(const QWidget *sheet) const {
    if (!sheet)
        return nullptr;
    auto found = readerState.find(sheet->objectName());
    return found == readerState.end() ? nullptr : found->second.get();
}

QWidget *TReaderController::activeSheet() const {
    const int slot = panel.PageControl1->currentIndex();
    return slot >= 0 && slot < ReaderPanel::SlotCount ? panel.sheet(slot) : nullptr;
}

TPdfControl *TReaderController::activeView() const {
    return viewOf(activeSheet());
}

QWidget *TReaderController::tabOfView(const TPdfControl *view) const {
    return view ? view->parentWidget() : nullptr;
}

void TReaderController::freeSlot(int slot) {
    QWidget *sheet = panel.sheet(slot);
    TPdfControl *view = viewOf(sheet);
    stopSearchOn(view);
    delete view; // its timers go with it
    for (auto entry = readDict.begin(); entry != readDict.end();) {
        if (entry->second->TabSheet == sheet) {
            entry = readDict.erase(entry);
            --state.readCount;
        } else {
            ++entry;
        }
    }
    hideIdleNotice(sheet->objectName());
    // The side panel lets go of the book's thumbnails, which go (queued work and all) with its state.
    if (const TReaderSettings *settings = settingsOf(sheet);
        settings && settings->SidePanel.get() == panel.sidePanel->shownBook())
        panel.sidePanel->showBook(nullptr, -1);
    readerState.erase(sheet->objectName());
    panel.PageControl1->setTabVisible(slot, false);
    showReaderState();
}

void TReaderController::showReaderState() {
    panel.showBookOpen(anyBookOpen());
    showSidePanel();
}

void TReaderController::releaseAll() {
    for (int slot = 0; slot < ReaderPanel::SlotCount; ++slot)
        if (viewOf(panel.sheet(slot)))
            freeSlot(slot);
    readDict.clear();
    readerState.clear();
}

void TReaderController::reloadDetailPage() {
    window.chromium(LibraryView::Chromium3).navigate(library.localPageUrl("detail.html"));
}

void TReaderController::bringReaderToFront() {
    if (auto *areas = qobject_cast<QStackedWidget *>(panel.parentWidget()))
        areas->setCurrentWidget(&panel);
}
