// The reader's keyboard: shortcuts for the page in front (search, zoom, tabs, the side panel, full
// screen, leaving a tool, undo), and the keys on a book view that turn pages besides the view's own.
#include "pdfview/PdfControl.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

namespace {

bool atEnd(const QScrollBar *bar, bool shown, bool forward) {
    return !shown || (forward ? bar->value() >= bar->maximum() : bar->value() <= bar->minimum());
}

} // namespace

void TReaderController::connectKeys() {
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_F), [this] { focusSearch(); }},
        {QKeySequence(Qt::Key_F3), [this] { btnSearchNextClick(); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { btnSearchPreviousClick(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { zoomStep(1); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { zoomStep(1); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { zoomStep(-1); }},
        {QKeySequence(Qt::CTRL | Qt::Key_0), [this] { zoomStep(0); }},
        {QKeySequence(Qt::CTRL | Qt::Key_G),
         [this] {
             panel.edPage->setFocus(Qt::ShortcutFocusReason);
             panel.edPage->selectAll();
         }},
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { goToNextTab(1); }},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] { goToNextTab(-1); }},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), [this] { goToNextTab(-1); }},
        {QKeySequence(Qt::Key_F9), [this] { panel.btnSidePanel->click(); }},
        {QKeySequence(Qt::Key_F11),
         [this] {
             QWidget *window = panel.window();
             window->setWindowState(window->windowState() ^ Qt::WindowFullScreen);
         }},
        {QKeySequence(Qt::Key_Escape), [this] { leaveToolOrSearch(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { undoAnnotation(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { redoAnnotation(); }},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), [this] { redoAnnotation(); }},
    };
    for (const auto &[sequence, action] : keys) {
        auto *shortcut = new QShortcut(sequence, &panel);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    }
    panel.edSearch->installEventFilter(this);
}

void TReaderController::PDFViewKeyDown(TPdfControl *sender, int &key, Qt::KeyboardModifiers shift) {
    if (key == Qt::Key_Space && (shift & ~Qt::ShiftModifier) == Qt::NoModifier) {
        key = shift & Qt::ShiftModifier ? Qt::Key_PageUp : Qt::Key_PageDown;
        return;
    }
    if (!sender->AutoPageChange() || shift != Qt::NoModifier)
        return;
    const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down;
    const bool forward = key == Qt::Key_Down || key == Qt::Key_Right;
    if (!vertical && key != Qt::Key_Left && key != Qt::Key_Right)
        return;
    const bool end = vertical ? atEnd(sender->VertScrollBar(), sender->VertScrollBarShown(), forward)
                              : atEnd(sender->HorzScrollBar(), sender->HorzScrollBarShown(), forward);
    if (end)
        key = forward ? Qt::Key_PageDown : Qt::Key_PageUp;
}

// The next shown tab after (or before) the one in front, round the end.
void TReaderController::goToNextTab(int step) {
    QTabWidget *tabs = panel.PageControl1;
    const int count = tabs->count();
    for (int i = 1; i < count; ++i) {
        const int index = ((tabs->currentIndex() + step * i) % count + count) % count;
        if (tabs->isTabVisible(index)) {
            tabs->setCurrentIndex(index);
            if (TPdfControl *view = activeView())
                view->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

// One item along the zoom list, whose items run from the smallest page to the largest ("Default", the
// whole page; "Fith Width"; "100%"; "200%"), or back to "100%" for step 0, as choosing the item does.
void TReaderController::zoomStep(int step) {
    if (!activeView())
        return;
    const int last = panel.cmbZoom->count() - 1;
    panel.cmbZoom->setCurrentIndex(step == 0 ? 2 : std::clamp(panel.cmbZoom->currentIndex() + step, 0, last));
    cmbZoomChange();
}

void TReaderController::focusSearch() {
    if (!activeView())
        return;
    panel.edSearch->setFocus(Qt::ShortcutFocusReason);
    panel.edSearch->selectAll();
}

// Escape: out of the search box (or the page box) back to the page; else the annotation tool that is on
// is switched off, as a press on its button does.
void TReaderController::leaveToolOrSearch() {
    TPdfControl *view = activeView();
    const TReaderSettings *settings = activeSettings();
    if (!view || !settings)
        return;
    if (panel.edSearch->hasFocus() || panel.edPage->hasFocus()) {
        view->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    const std::pair<bool TReaderSettings::*, QToolButton *> tools[] = {
        {&TReaderSettings::CurrentTextSelectState, panel.btnTextSelect},
        {&TReaderSettings::CurrentHighlightAnnotState, panel.btnAnnotHighlight},
        {&TReaderSettings::CurrentRectAnnotState, panel.btnAnnotRect},
        {&TReaderSettings::CurrentPenAnnotState, panel.btnAnnotPen},
        {&TReaderSettings::CurrentTextAnnotState, panel.btnAnnotText},
        {&TReaderSettings::CurrentAnnotDeleteState, panel.btnAnnotDelete},
    };
    for (const auto &[flag, button] : tools)
        if (settings->*flag) {
            button->click();
            return;
        }
}

bool TReaderController::eventFilter(QObject *watched, QEvent *event) {
    if (watched != panel.edSearch || event->type() != QEvent::KeyPress)
        return false;
    const auto &key = static_cast<const QKeyEvent &>(*event);
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (!enter || !(key.modifiers() & Qt::ShiftModifier))
        return false;
    if (!panel.edSearch->text().isEmpty())
        btnSearchPreviousClick();
    return true;
}
