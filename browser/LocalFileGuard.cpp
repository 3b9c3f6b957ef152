#include "browser/LocalFileGuard.h"
#include "browser/DataFolderScope.h"

LocalFileGuard::LocalFileGuard(const DataFolderScope &dataFolder, QObject *parent)
    : QWebEngineUrlRequestInterceptor(parent), dataFolderPath(dataFolder) {}

void LocalFileGuard::interceptRequest(QWebEngineUrlRequestInfo &info) {
    const QUrl url = info.requestUrl();
    if (!url.isLocalFile())
        return;
    if (!dataFolderPath.contains(url) || info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeXhr)
        info.block(true);
}
