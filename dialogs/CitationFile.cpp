#include "dialogs/CitationFile.h"

#include "dialogs/AnsiText.h"

#include <QSaveFile>
#include <QStringView>

namespace {
constexpr qsizetype MaxNameBytes = 200;

bool unfitForName(char32_t c) {
    const QChar::Category category = QChar::category(c);
    return c == U'/' || category == QChar::Other_Control || category == QChar::Other_Format;
}

// The longest start of `text` that fits in `bytes` of UTF-8, never cutting a character in two.
QString fitInBytes(const QString &text, qsizetype bytes) {
    qsizetype used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype width = text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        used += QStringView(text).mid(end, width).toUtf8().size();
        if (used > bytes)
            break;
        end += width;
    }
    return text.left(end);
}
} // namespace

QString writeCitationFile(const QString &path, const QString &citation) {
    // Written aside and renamed over the old file, so a failed write leaves the old content whole.
    QSaveFile file(path);
    const std::string bytes = toAnsiText(citation) + "\r\n";
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit())
        return file.errorString();
    return {};
}

QString citationFileName(const QString &title, const QString &suffix) {
    QString name;
    for (char32_t c : title.toUcs4())
        name += unfitForName(c) ? QStringLiteral(" ") : QString::fromUcs4(&c, 1);
    name = name.simplified();
    while (name.startsWith(QLatin1Char('.')))
        name = name.mid(1).trimmed();
    const QString extension = QLatin1Char('.') + suffix;
    name = fitInBytes(name, MaxNameBytes - extension.toUtf8().size()).trimmed();
    return (name.isEmpty() ? QStringLiteral("Daftar Pustaka") : name) + extension;
}
