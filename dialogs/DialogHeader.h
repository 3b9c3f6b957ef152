#pragma once
#include <QColor>
#include <QString>

class QToolButton;
class QWidget;

// A colour value in the 0x00BBGGRR layout, as the window designs give them.
inline QColor colorFromBgr(int value) {
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

// The black bar, 27 pixels high, across the top of a frameless window: `caption` at the left and the
// close glyph at the right, returned in `closeButton`.
QWidget *makeDialogHeader(QWidget *window, const QString &caption, QToolButton *&closeButton);
