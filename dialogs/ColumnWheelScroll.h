#pragma once
#include <QObject>

class QScrollArea;

// Scrolls a column of fields one line per wheel step, also when the pointer is over one of its
// lists or its date box, so a turn of the wheel never changes a choice by accident.
class ColumnWheelScroll : public QObject {
public:
    // Watches `column`'s viewport and the lists and spin boxes inside it; owned by `column`.
    static void attach(QScrollArea *column);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ColumnWheelScroll(QScrollArea *column);
    QScrollArea *column;
    int pendingDelta = 0; // eighths of a degree not yet worth a whole step
};
