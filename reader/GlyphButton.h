#pragma once
#include <QString>

class QToolButton;
class QWidget;

// The family of the icon font carried in the resources ("Font Awesome 5 Free Solid"), registered once.
QString iconFontFamily();
// A flat button showing one glyph of the icon font, with a hint.
QToolButton *glyphButton(QWidget *parent, char16_t glyph, const QString &hint, int pixelSize = 20);
