#pragma once
#include <QString>
#include <QUrl>

// The local folder whose pages the client generated and trusts. Symbolic links are resolved, so a
// link inside the folder that points elsewhere does not count as inside.
class DataFolderScope {
public:
    explicit DataFolderScope(const QString &folder);

    bool contains(const QUrl &url) const;
    const QString &folder() const { return folderPath; }

private:
    QString folderPath;
};
