#include "dialogs/DialogHeader.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

QWidget *makeDialogHeader(QWidget *window, const QString &caption, QToolButton *&closeButton) {
    auto *bar = new QWidget(window);
    bar->setFixedHeight(27);
    bar->setAutoFillBackground(true);
    bar->setStyleSheet(QStringLiteral("background: black; color: white;"));
    auto *title = new QLabel(caption, bar);
    closeButton = new QToolButton(bar);
    closeButton->setText(QStringLiteral("\u2715"));
    closeButton->setAutoRaise(true);
    closeButton->setCursor(Qt::PointingHandCursor);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(8, 0, 4, 0);
    layout->addWidget(title, 1);
    layout->addWidget(closeButton);
    return bar;
}
