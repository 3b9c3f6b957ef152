#include "app/FormAbout.h"

#include "app/Artwork.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>

TFormAbout::TFormAbout(QWidget *parent) : QLabel(parent, Qt::Window | Qt::FramelessWindowHint) {
    setPixmap(aboutPicture(400));
    setFixedSize(pixmap().size());
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::hide);
}

void TFormAbout::showEvent(QShowEvent *event) {
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QLabel::showEvent(event);
}

void TFormAbout::mousePressEvent(QMouseEvent *) {
    hide();
}
