// Scrolling, keys, wheel and mouse of the page view control.
#include "pdfview/PdfControl.h"

#include "pdfview/PdfControlMetrics.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

using namespace PdfControlMetrics;

namespace {

Qt::KeyboardModifiers keyModifiers(Qt::KeyboardModifiers modifiers) {
    return modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

} // namespace

// ---------------------------------------------------------------------------------------------- scrolling

void TPdfControl::SetScrollValue(QScrollBar *bar, int value) {
    FAdjustingScrollBars = true;
    bar->setValue(value);
    FAdjustingScrollBars = false;
}

bool TPdfControl::ScrollContent(int XOffset, int YOffset, bool Smooth) {
    // Qt's backing store paints without flicker; a smooth scroll moves at once like any other.
    Q_UNUSED(Smooth);
    const int oldX = HorzScrollPosition(), oldY = VertScrollPosition();
    if (YOffset != 0 && FLayout.VertScrollBar) {
        SetScrollValue(FVertBar, oldY + YOffset);
        if (FAutoPageChange && VertScrollPosition() == oldY) {
            // Past the top or bottom edge: the neighbouring page, from its top.
            const int target = oldY == 0 ? FPageIndex - 1 : FPageIndex + 1;
            if (target >= 0 && target < GetPageCount())
                return InternSetPageIndex(target, false, false);
            return false;
        }
    }
    if (XOffset != 0 && FLayout.HorzScrollBar)
        SetScrollValue(FHorzBar, oldX + XOffset);
    const int dx = HorzScrollPosition() - oldX, dy = VertScrollPosition() - oldY;
    if (dx == 0 && dy == 0)
        return false;
    PlacePage();
    scroll(-dx, -dy, ClientRect());
    return true;
}

bool TPdfControl::ScrollContentTo(int X, int Y, bool Smooth) {
    return ScrollContent(X - HorzScrollPosition(), Y - VertScrollPosition(), Smooth);
}

void TPdfControl::ScrollBarAction(QScrollBar *bar, int action) {
    int step = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        step = ScrollLine;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        step = -ScrollLine;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        step = bar->pageStep();
        break;
    case QAbstractSlider::SliderPageStepSub:
        step = -bar->pageStep();
        break;
    default:
        return; // thumb tracking and jumps arrive as value changes
    }
    bar->setSliderPosition(bar->value()); // the control decides the move, turning pages at the edges
    if (bar == FVertBar)
        ScrollContent(0, step, FSmoothScroll);
    else
        ScrollContent(step, 0, FSmoothScroll);
}

void TPdfControl::ScrollBarMoved() {
    if (FAdjustingScrollBars)
        return;
    const int oldX = FDrawX, oldY = FDrawY;
    PlacePage();
    scroll(FDrawX - oldX, FDrawY - oldY, ClientRect());
}

// ------------------------------------------------------------------------------------------------- input

bool TPdfControl::eventFilter(QObject *watched, QEvent *event) {
    // The wheel over a scroll bar acts as over the page, turning pages at the edges as well.
    if ((watched == FHorzBar || watched == FVertBar) && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TPdfControl::wheelEvent(QWheelEvent *event) {
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    const Qt::KeyboardModifiers mods = event->modifiers();
    bool handled = true;
    Guarded([&] {
        if (mods & Qt::ControlModifier) {
            handled = FScaleMode == TPdfControlScaleMode::smZoom;
            if (handled)
                SetZoomPercentage(FZoomPercentage + delta / 120 * 5);
        } else if (mods & Qt::ShiftModifier || angle.y() == 0) {
            // Shift turns the wheel sideways; a tilted wheel is sideways already.
            ScrollContent(-delta, 0, FSmoothScroll);
        } else {
            ScrollContent(0, -delta, FSmoothScroll);
        }
    });
    event->setAccepted(handled);
}

bool TPdfControl::GotoPageAt(int Value, bool AtEnd) {
    if (!FAllowUserPageChange || Value == FPageIndex)
        return AtEnd ? ScrollContentTo(HorzScrollPosition(), FVertBar->maximum(), FSmoothScroll)
                     : ScrollContentTo(HorzScrollPosition(), 0, FSmoothScroll);
    return InternSetPageIndex(Value, AtEnd, AtEnd);
}

bool TPdfControl::HandleKey(int Key, Qt::KeyboardModifiers Shift) {
    const bool shift = Shift & Qt::ShiftModifier;
    const bool ctrlOnly = Shift == Qt::ControlModifier;
    const int line = shift ? 2 * ScrollLine : ScrollLine;
    switch (Key) {
    case Qt::Key_Up:
        return ScrollContent(0, -line, FSmoothScroll);
    case Qt::Key_Down:
        return ScrollContent(0, line, FSmoothScroll);
    case Qt::Key_Left:
        return ScrollContent(-line, 0, FSmoothScroll);
    case Qt::Key_Right:
        return ScrollContent(line, 0, FSmoothScroll);
    case Qt::Key_PageDown:
        if (FAllowUserPageChange && (!FLayout.VertScrollBar || FVertBar->value() >= FVertBar->maximum()))
            return GotoNextPage(true);
        return ScrollContent(0, FVertBar->pageStep(), FSmoothScroll);
    case Qt::Key_PageUp:
        if (FAllowUserPageChange && (!FLayout.VertScrollBar || FVertBar->value() == 0))
            return GotoPrevPage(true);
        return ScrollContent(0, -FVertBar->pageStep(), FSmoothScroll);
    case Qt::Key_Home:
        if (Shift & Qt::ControlModifier)
            return GotoPageAt(0, false);
        return shift ? ScrollContentTo(0, VertScrollPosition(), FSmoothScroll)
                     : ScrollContentTo(HorzScrollPosition(), 0, FSmoothScroll);
    case Qt::Key_End:
        if (Shift & Qt::ControlModifier)
            return GotoPageAt(GetPageCount() - 1, true);
        return shift ? ScrollContentTo(FHorzBar->maximum(), VertScrollPosition(), FSmoothScroll)
                     : ScrollContentTo(HorzScrollPosition(), FVertBar->maximum(), FSmoothScroll);
    case Qt::Key_A:
        if (ctrlOnly && FAllowUserTextSelection) {
            SelectAll();
            return true;
        }
        return false;
    case Qt::Key_C:
    case Qt::Key_Insert:
        // Copying belongs to the host; the control only keeps the key from going further.
        return ctrlOnly && FAllowUserTextSelection && FSelectionActive;
    default:
        return false;
    }
}

void TPdfControl::keyPressEvent(QKeyEvent *event) {
    int key = event->key();
    const Qt::KeyboardModifiers mods = keyModifiers(event->modifiers());
    bool consumed = false;
    Guarded([&] {
        if (OnKeyDown)
            OnKeyDown(this, key, mods);
        consumed = key == 0 || HandleKey(key, mods);
    });
    event->setAccepted(consumed);
}

void TPdfControl::keyReleaseEvent(QKeyEvent *event) {
    if (event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    int key = event->key();
    Guarded([&] {
        if (OnKeyUp)
            OnKeyUp(this, key, keyModifiers(event->modifiers()));
    });
    event->setAccepted(key == 0);
}

void TPdfControl::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        FClickPending = true;
    Guarded([&] { MouseDown(event->button(), event->modifiers(), event->position().toPoint(), false); });
}

void TPdfControl::mouseDoubleClickEvent(QMouseEvent *event) {
    Guarded([&] {
        if (event->button() == Qt::LeftButton && OnDblClick)
            OnDblClick(this);
        MouseDown(event->button(), event->modifiers(), event->position().toPoint(),
                  event->button() == Qt::LeftButton);
    });
}

void TPdfControl::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, const QPoint &pt,
                            bool DoubleClick) {
    if (OnMouseDown)
        OnMouseDown(this, Button, keyModifiers(Shift), pt.x(), pt.y());
    if (Button == Qt::LeftButton && FAllowUserTextSelection && IsPageValid())
        SelectionMouseDown(pt, DoubleClick);
}

void TPdfControl::SelectionMouseDown(const QPoint &pt, bool DoubleClick) {
    StopScrollTimer();
    setFocus(Qt::MouseFocusReason);
    FMousePressed = true;
    FMouseDownPt = pt;
    const int index = CharIndexAt(pt.x(), pt.y(), NearestCharTolerance);
    if (FCheckForTrippleClick && index >= GetSelStart() && index < GetSelStart() + GetSelLength()) {
        FCheckForTrippleClick = false;
        FTrippleClickTimer.stop();
        FMousePressed = false;
        SelectLine(index);
    } else if (DoubleClick) {
        FMousePressed = false;
        if (SelectWord(index)) {
            FCheckForTrippleClick = true;
            FTrippleClickTimer.start(QApplication::doubleClickInterval());
        }
    } else {
        SetSelection(false, index, index);
    }
}

void TPdfControl::mouseMoveEvent(QMouseEvent *event) {
    const QPoint pt = event->position().toPoint();
    Guarded([&] {
        if (OnMouseMove)
            OnMouseMove(this, event->buttons(), keyModifiers(event->modifiers()), pt.x(), pt.y());
        if (!FAllowUserTextSelection)
            return;
        if (FMousePressed) {
            FScrollMousePos = pt;
            if (IsOutside(pt))
                StartScrollTimer();
            else
                StopScrollTimer();
            if (SetSelStopCharIndex(pt.x(), pt.y()))
                setCursor(Qt::IBeamCursor);
        } else {
            UpdateCursor(pt);
        }
    });
}

void TPdfControl::mouseReleaseEvent(QMouseEvent *event) {
    const QPoint pt = event->position().toPoint();
    Guarded([&] {
        if (event->button() == Qt::LeftButton && FClickPending) {
            FClickPending = false;
            if (rect().contains(pt) && OnClick)
                OnClick(this);
        }
        if (OnMouseUp)
            OnMouseUp(this, event->button(), keyModifiers(event->modifiers()), pt.x(), pt.y());
        if (event->button() != Qt::LeftButton || !FMousePressed || !FAllowUserTextSelection)
            return;
        FMousePressed = false;
        StopScrollTimer();
        SetSelStopCharIndex(pt.x(), pt.y());
        QString url;
        if (!FSelectionActive && IsWebLinkAt(pt.x(), pt.y(), url))
            WebLinkClick(url);
    });
}

void TPdfControl::leaveEvent(QEvent *) {
    unsetCursor();
}

void TPdfControl::UpdateCursor(const QPoint &pt) {
    if (OnWebLinkClick && IsWebLinkAt(pt.x(), pt.y()))
        setCursor(Qt::PointingHandCursor);
    else if (CharIndexAt(pt.x(), pt.y(), TextCursorTolerance) >= 0)
        setCursor(Qt::IBeamCursor);
    else
        unsetCursor();
}

bool TPdfControl::IsOutside(const QPoint &pt) const {
    const bool outsideX = pt.x() < 0 || pt.x() >= FLayout.ClientWidth;
    const bool outsideY = pt.y() < 0 || pt.y() >= FLayout.ClientHeight;
    return (FLayout.HorzScrollBar && outsideX) || (FLayout.VertScrollBar && outsideY);
}

void TPdfControl::StartScrollTimer() {
    if (!FScrollTimer || FScrollTimerActive)
        return;
    FScrollTimerTimer.start();
    FScrollTimerActive = true;
}

void TPdfControl::StopScrollTimer() {
    FScrollTimerTimer.stop();
    FScrollTimerActive = false;
}

void TPdfControl::ScrollTimerTick() {
    if (!FMousePressed) {
        StopScrollTimer();
        return;
    }
    const QPoint pt = FScrollMousePos;
    if (pt.x() < 0)
        ScrollContent(-ScrollLine, 0, FSmoothScroll);
    else if (pt.x() >= FLayout.ClientWidth)
        ScrollContent(ScrollLine, 0, FSmoothScroll);
    else if (pt.y() < 0)
        ScrollContent(0, -ScrollLine, FSmoothScroll);
    else if (pt.y() >= FLayout.ClientHeight)
        ScrollContent(0, ScrollLine, FSmoothScroll);
}
