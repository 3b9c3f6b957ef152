#pragma once
#include "service/ServiceEndpoint.h"

#include <QByteArray>
#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <string>

// Downloads a book from the service's "/pc/rvs/" folder on a pool thread. Progress, completion and
// failure are signalled on the thread that owns this object (the UI thread). One download at a time:
// starting another abandons the running one, and so does destroying the object.
class BookDownload : public QObject {
    Q_OBJECT
public:
    explicit BookDownload(ServiceEndpoint endpoint = ServiceEndpoint::builtIn(), QObject *parent = nullptr);
    ~BookDownload() override;

    // Starts fetching "nama_pc_file" of a book's detail reply. A name that would leave the book folder
    // (an empty segment, "." or "..") is refused with `failed`; other characters are percent-encoded.
    void start(const std::string &namaPcFile);
    bool isRunning() const;

signals:
    void progress(qint64 received, qint64 expected);
    // The exchange ended with an HTTP status (any status); `body` is the whole response body.
    void completed(int status, const QByteArray &body);
    // No response: connection, TLS, time-out or refused name; `errorText` says why.
    void failed(const QString &errorText);

private:
    struct Outcome;
    void finish();

    ServiceEndpoint endpoint;
    QFutureWatcher<Outcome> *watcher = nullptr;
};

// The address of a book under `baseUrl`, or "" when the name would leave the book folder.
std::string bookAddress(const std::string &baseUrl, const std::string &namaPcFile);
