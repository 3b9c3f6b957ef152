#include "dialogs/CitationFile.h"

#include "dialogs/AnsiText.h"

#include <QSaveFile>

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
