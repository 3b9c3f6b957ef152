#include "app/FormAbout.h"

#include "app/Artwork.h"

#include <QGuiApplication>
#include <QScreen>

TFormAbout::TFormAbout(QWidget *parent) : QLabel(parent, Qt::Window | Qt::FramelessWindowHint) {
    setPixmap(aboutPicture(400));
    setFixedSize(pixmap().size());
}

void TFormAbout::showEvent(QShowEvent *event) {
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QLabel::showEvent(event);
}

void TFormAbout::mousePressEvent(QMouseEvent *) {
    hide();
}
