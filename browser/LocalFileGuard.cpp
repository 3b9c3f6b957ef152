#include "browser/LocalFileGuard.h"
#include "browser/DataFolderScope.h"

LocalFileGuard::LocalFileGuard(const DataFolderScope &dataFolder, QObject *parent)
    : QWebEngineUrlRequestInterceptor(parent), m_dataFolder(dataFolder) {}

void LocalFileGuard::interceptRequest(QWebEngineUrlRequestInfo &info) {
    const QUrl url = info.requestUrl();
    if (!url.isLocalFile())
        return;
    if (!m_dataFolder.contains(url) || info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeXhr)
        info.block(true);
}
