#include "browser/DataFolderScope.h"
#include <QDir>
#include <QFileInfo>

namespace {
// The path with links resolved: its deepest existing ancestor in canonical form, then the rest.
QString resolved(const QString &path) {
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!QFileInfo::exists(existing) && existing != QLatin1String("/")) {
        const QFileInfo info(existing);
        rest = QLatin1Char('/') + info.fileName() + rest;
        existing = info.path();
    }
    return QDir::cleanPath(QFileInfo(existing).canonicalFilePath() + rest);
}
} // namespace

DataFolderScope::DataFolderScope(const QString &folder)
    : folderPath(folder.isEmpty() ? QString() : resolved(folder)) {}

bool DataFolderScope::contains(const QUrl &url) const {
    if (folderPath.isEmpty() || !url.isLocalFile() || !url.host().isEmpty())
        return false;
    return resolved(url.toLocalFile()).startsWith(folderPath + QLatin1Char('/'));
}
