#pragma once
#include <QColor>
#include <QString>

namespace devserver {

// PNG pictures of the sample content. Text is drawn only when a QGuiApplication exists (fonts need
// one); without it the pictures are plain colour compositions.
void writeCover(const QString &path, const QString &title, const QString &author, QColor base);
void writeBanner(const QString &path, const QString &headline, QColor base);
void writeLogo(const QString &path, const QString &name, QColor base, int width, int height);
void writeAvatar(const QString &path, const QString &initials, QColor base);

} // namespace devserver
