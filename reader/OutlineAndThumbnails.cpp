// The side panel: the outline and page thumbnails of the book in front, shown per page as the member
// left it.
#include "pdfview/PdfControl.h"
#include "reader/BookSidePanel.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"

#include <QToolButton>

void TReaderController::setSidePanelShown(bool shown) {
    if (TReaderSettings *settings = activeSettings())
        settings->SidePanelShown = shown;
    showSidePanel();
}

void TReaderController::showSidePanel() {
    TPdfControl *view = activeView();
    TReaderSettings *settings = activeSettings();
    const bool shown = view && settings && settings->SidePanelShown;
    panel.btnSidePanel->setChecked(shown);
    if (shown && !settings->SidePanel)
        settings->SidePanel = panel.sidePanel->makeBook(*view->Document(), settings->BookBytes);
    panel.sidePanel->setVisible(shown);
    panel.sidePanel->showBook(shown ? settings->SidePanel.get() : nullptr, shown ? view->PageIndex() : -1);
}

void TReaderController::sidePanelPageChosen(int pageIndex) {
    TPdfControl *view = activeView();
    if (view && pageIndex >= 0 && pageIndex < view->GetPageCount())
        view->SetPageIndex(pageIndex);
}
