// The reader toolbar's navigation, zoom and scroll-mode controls, and the toolbar following the page in
// front.
#include "annotations/PageLabel.h"
#include "pdfview/PdfControl.h"
#include "prompts/MessageBoxes.h"
#include "reader/BookSidePanel.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

namespace {

void showFailure(const char *prefix, const std::exception &error) {
    showError(QString::fromLatin1(prefix) + QString::fromUtf8(error.what()));
}

// The view settings of the zoom list's items, in order; false for an index outside the list.
bool applyZoom(TPdfControl &view, int index) {
    switch (index) {
    case 0:
        view.SetScaleMode(TPdfControlScaleMode::smFitAuto);
        return true;
    case 1:
        view.SetScaleMode(TPdfControlScaleMode::smFitWidth);
        return true;
    case 2:
    case 3:
        view.SetScaleMode(TPdfControlScaleMode::smZoom);
        view.SetZoomPercentage(index == 2 ? 100 : 200);
        return true;
    default:
        return false;
    }
}

} // namespace

void TReaderController::btnNextClick() {
    try {
        TPdfControl *view = activeView();
        if (view && view->isVisible())
            view->SetPageIndex(view->PageIndex() + 1);
    } catch (const std::exception &error) {
        showFailure("Failed Going Next Page : ", error);
    }
}

void TReaderController::btnPreviousClick() {
    try {
        TPdfControl *view = activeView();
        if (view && view->isVisible() && view->PageIndex() > 0)
            view->SetPageIndex(view->PageIndex() - 1);
    } catch (const std::exception &error) {
        showFailure("Failed Going Previous Page : ", error);
    }
}

void TReaderController::edPageReturnPressed() {
    TPdfControl *view = activeView();
    const TDetailBook *book = activeBook();
    const TReaderSettings *settings = activeSettings();
    if (!view || !book || !settings)
        return;
    const QString typed = panel.edPage->text();
    const std::optional<int> page =
        pageIndexOfTyped(typed.toStdString(), book->halaman_romawi, view->GetPageCount());
    if (!page) {
        panel.edPage->setText(settings->CurrentPage);
        showWarning(QStringLiteral("Halaman \"%1\" tidak ada di buku ini").arg(typed.trimmed()));
        return;
    }
    view->SetPageIndex(*page);
    panel.edPage->setText(settings->CurrentPage);
    view->setFocus();
}

// Every page change of a view, whatever caused it: the page box and the page's record follow. While a
// page is being set up its book is not yet known, and nothing changes.
void TReaderController::PDFViewPageChange(TPdfControl *sender) {
    QWidget *sheet = tabOfView(sender);
    const TDetailBook *book = bookOfTab(sheet);
    TReaderSettings *settings = settingsOf(sheet);
    if (!book || !settings)
        return;
    settings->CurrentPage = QStringLiteral("%1/%2").arg(sender->PageIndex() + 1).arg(book->halaman_total);
    if (sender->IsPageValid())
        settings->PageRead = sender->PageIndex();
    if (sheet != activeSheet())
        return;
    panel.edPage->setText(settings->CurrentPage);
    if (settings->SidePanelShown)
        panel.sidePanel->showPage(sender->PageIndex());
}

void TReaderController::cmbZoomChange() {
    TPdfControl *view = activeView();
    TReaderSettings *settings = settingsOf(activeSheet());
    if (!view || !settings)
        return;
    const int index = panel.cmbZoom->currentIndex();
    if (applyZoom(*view, index))
        settings->CurrentZoomIndex = index;
}

void TReaderController::CheckAutoPageClick() {
    TPdfControl *view = activeView();
    TReaderSettings *settings = settingsOf(activeSheet());
    if (!view || !settings)
        return;
    view->SetAutoPageChange(panel.CheckAutoPage->isChecked());
    settings->AutoPageChange = panel.CheckAutoPage->isChecked();
}

void TReaderController::AnnotViewClick() {
    TPdfControl *view = activeView();
    TReaderSettings *settings = settingsOf(activeSheet());
    if (!view || !settings)
        return;
    settings->CurrentAnnotViewState = panel.AnnotView->isChecked();
    view->update();
}

// Pointer movement over a page is what counts as reading: the page's idle clock starts over.
void TReaderController::PDFViewMouseMove(TPdfControl *sender) {
    QWidget *sheet = tabOfView(sender);
    TReaderSettings *settings = settingsOf(sheet);
    if (!settings)
        return;
    settings->IdleTime = 0;
    hideIdleNotice(sheet->objectName());
    if (sheet == activeSheet())
        showIdleClock();
}

void TReaderController::PageControl1Change() {
    try {
        TPdfControl *view = activeView();
        TReaderSettings *settings = settingsOf(activeSheet());
        if (view && settings)
            restoreToolbar(*settings, *view);
    } catch (const std::exception &error) {
        showFailure("Error Exception #1336 : ", error);
    }
}

// The shared toolbar shows the state of the page now in front. Setting the two boxes runs their
// handlers, which write the same values back.
void TReaderController::restoreToolbar(const TReaderSettings &settings, TPdfControl &view) {
    panel.edPage->setText(settings.CurrentPage);
    panel.cmbZoom->setCurrentIndex(settings.CurrentZoomIndex);
    panel.edSearch->setText(settings.CurrentSearchKeyWord);
    panel.AnnotView->setChecked(settings.CurrentAnnotViewState);
    showToolIndicator(panel.btnAnnotText, settings.CurrentTextAnnotState);
    showToolIndicator(panel.btnAnnotRect, settings.CurrentRectAnnotState);
    showToolIndicator(panel.btnAnnotHighlight, settings.CurrentHighlightAnnotState);
    showToolIndicator(panel.btnAnnotPen, settings.CurrentPenAnnotState);
    showToolIndicator(panel.btnAnnotDelete, settings.CurrentAnnotDeleteState);
    showToolIndicator(panel.btnTextSelect, settings.CurrentTextSelectState);
    view.SetAllowUserTextSelection(settings.CurrentHighlightAnnotState || settings.CurrentTextSelectState);
    view.SetAutoPageChange(settings.AutoPageChange);
    panel.CheckAutoPage->setChecked(settings.AutoPageChange);
    showIdleClock();
    showUndoState();
    showSidePanel();
    view.update();
}
