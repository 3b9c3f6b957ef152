#include "reader/GlyphButton.h"

#include <QFontDatabase>
#include <QToolButton>

QString iconFontFamily() {
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/fa-solid-900.ttf"));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QStringLiteral("Font Awesome 5 Free Solid") : families.first();
    }();
    return family;
}

QToolButton *glyphButton(QWidget *parent, char16_t glyph, const QString &hint, int pixelSize) {
    auto *button = new QToolButton(parent);
    QFont font(iconFontFamily());
    font.setStyleName(QStringLiteral("Solid"));
    font.setPixelSize(pixelSize);
    button->setFont(font);
    button->setText(QString(QChar(glyph)));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    return button;
}
