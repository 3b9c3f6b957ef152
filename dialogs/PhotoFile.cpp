#include "dialogs/PhotoFile.h"

#include <QFile>
#include <QFileInfo>

namespace {

enum class PictureKind { Jpeg, Png, Other };

PictureKind kindByName(const QString &path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return PictureKind::Jpeg;
    if (suffix == QLatin1String("png"))
        return PictureKind::Png;
    return PictureKind::Other;
}

PictureKind kindByContent(const QByteArray &head) {
    if (head.startsWith("\xFF\xD8\xFF"))
        return PictureKind::Jpeg;
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return PictureKind::Png;
    return PictureKind::Other;
}

} // namespace

QString photoProblem(const QString &label, const QString &path) {
    const PictureKind named = kindByName(path);
    if (named == PictureKind::Other)
        return label + QStringLiteral(" harus berupa berkas JPG atau PNG");
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return label + QStringLiteral(" tidak dapat dibaca : ") + path;
    if (kindByContent(file.read(8)) != named)
        return label + QStringLiteral(" bukan gambar ") + (named == PictureKind::Jpeg ? "JPG" : "PNG") +
               QStringLiteral(" yang sah : ") + path;
    return {};
}
