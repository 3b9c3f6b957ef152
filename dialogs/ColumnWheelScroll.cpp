#include "dialogs/ColumnWheelScroll.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace {
constexpr int WheelStep = 120; // one notch of a wheel, in eighths of a degree
}

ColumnWheelScroll::ColumnWheelScroll(QScrollArea *column) : QObject(column), column(column) {}

void ColumnWheelScroll::attach(QScrollArea *column) {
    auto *scroll = new ColumnWheelScroll(column);
    column->viewport()->installEventFilter(scroll);
    for (QComboBox *list : column->widget()->findChildren<QComboBox *>())
        list->installEventFilter(scroll);
    for (QAbstractSpinBox *spin : column->widget()->findChildren<QAbstractSpinBox *>())
        spin->installEventFilter(scroll);
}

bool ColumnWheelScroll::eventFilter(QObject *, QEvent *event) {
    if (event->type() != QEvent::Wheel)
        return false;
    pendingDelta += static_cast<QWheelEvent *>(event)->angleDelta().y();
    const int steps = pendingDelta / WheelStep;
    pendingDelta -= steps * WheelStep;
    QScrollBar *bar = column->verticalScrollBar();
    bar->setValue(bar->value() - steps * bar->singleStep());
    return true;
}
