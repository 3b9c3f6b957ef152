#pragma once
#include <QWebEngineUrlRequestInterceptor>

class DataFolderScope;

// Keeps local pages to their own folder: files outside the data folder are never loaded, and no
// local file is read by script (XMLHttpRequest or fetch). Style sheets, scripts and images of the
// data folder load as usual.
class LocalFileGuard : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    LocalFileGuard(const DataFolderScope &dataFolder, QObject *parent = nullptr);

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    const DataFolderScope &dataFolderPath;
};
