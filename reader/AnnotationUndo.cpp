// Undo and redo of the member's annotation changes, per page, back to the state at borrowing. The
// document in the page's record is always the one shown, and the one a return sends.
#include "pdfview/PdfControl.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"

#include <QToolButton>

void TReaderController::annotationsChanged(QWidget *sheet) {
    TReaderSettings *settings = settingsOf(sheet);
    if (settings && settings->History.record(settings->AnnotationObject) && sheet == activeSheet())
        showUndoState();
}

void TReaderController::undoAnnotation() {
    TPdfControl *view = activeView();
    TReaderSettings *settings = activeSettings();
    if (!view || !settings || settings->Returning || !settings->History.undo(settings->AnnotationObject))
        return;
    showUndoState();
    view->update();
}

void TReaderController::redoAnnotation() {
    TPdfControl *view = activeView();
    TReaderSettings *settings = activeSettings();
    if (!view || !settings || settings->Returning || !settings->History.redo(settings->AnnotationObject))
        return;
    showUndoState();
    view->update();
}

void TReaderController::showUndoState() {
    const TReaderSettings *settings = activeSettings();
    panel.btnAnnotUndo->setEnabled(settings && settings->History.canUndo());
    panel.btnAnnotRedo->setEnabled(settings && settings->History.canRedo());
}
