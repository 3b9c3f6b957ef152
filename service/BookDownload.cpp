#include "service/BookDownload.h"

#include "service/HttpCall.h"
#include "service/UrlPath.h"

#include <QPromise>

#include <atomic>
#include <limits>
#include <memory>
#include <thread>

namespace {

constexpr std::size_t maxBookBytes = std::size_t(1) << 30;
constexpr long bookTimeoutMs = 60000;
// A book's deadline grows by a second for every this many bytes it declares (or has sent): a line of
// 128 kbit/s still gets every book through.
constexpr std::int64_t bookBytesPerExtraSecond = 16 * 1024;

// Byte counts of a running download, read on the UI thread when the pool thread reports progress.
struct ProgressCounts {
    std::atomic<std::int64_t> received{0};
    std::atomic<std::int64_t> expected{0};
};

HttpRequest bookRequest(const ServiceEndpoint &endpoint, const std::string &url) {
    HttpRequest request;
    request.url = url;
    request.caFile = endpoint.caFile;
    request.connectTimeoutMs = bookTimeoutMs;
    request.stallTimeoutSeconds = bookTimeoutMs / 1000;
    request.totalTimeoutMs = endpoint.deadlineMs;
    request.bytesPerExtraSecond = bookBytesPerExtraSecond;
    request.followRedirects = true;
    request.cookies = true;
    request.maxBodyBytes = maxBookBytes;
    return request;
}

} // namespace

struct BookDownload::Outcome {
    QString error;
    int status = 0;
    QByteArray body;
};

std::string bookAddress(const std::string &baseUrl, const std::string &namaPcFile) {
    if (namaPcFile.empty() || namaPcFile.find('\\') != std::string::npos)
        return {};
    std::string path;
    size_t start = 0;
    while (start <= namaPcFile.size()) {
        const size_t end = std::min(namaPcFile.find('/', start), namaPcFile.size());
        const std::string segment = namaPcFile.substr(start, end - start);
        if (segment.empty() || segment == "." || segment == "..")
            return {};
        path += (path.empty() ? "" : "/") + encodePathSegment(segment);
        start = end + 1;
    }
    return baseUrl + "/pc/rvs/" + path;
}

BookDownload::BookDownload(ServiceEndpoint endpoint, QObject *parent)
    : QObject(parent), endpoint(std::move(endpoint)) {}

BookDownload::~BookDownload() {
    if (watcher)
        watcher->cancel(); // the pool thread notices at its next progress call and stops
}

bool BookDownload::isRunning() const {
    return watcher && watcher->isRunning();
}

void BookDownload::start(const std::string &namaPcFile) {
    if (watcher) {
        watcher->disconnect(this);
        watcher->cancel();
        watcher->deleteLater();
        watcher = nullptr;
    }
    const std::string url = bookAddress(endpoint.baseUrl, namaPcFile);
    if (url.empty()) {
        const QString why = QStringLiteral("Invalid book file name: ") + QString::fromStdString(namaPcFile);
        QMetaObject::invokeMethod(
            this, [this, why] { emit failed(why); }, Qt::QueuedConnection);
        return;
    }
    auto counts = std::make_shared<ProgressCounts>();
    watcher = new QFutureWatcher<Outcome>(this);
    connect(watcher, &QFutureWatcherBase::progressValueChanged, this,
            [this, counts] { emit progress(counts->received, counts->expected); });
    connect(watcher, &QFutureWatcherBase::finished, this, &BookDownload::finish);
    HttpRequest request = bookRequest(endpoint, url);
    // A thread of its own rather than a Qt pool's: the request then crosses to it through the thread's
    // start, a hand-over a race detector sees (a Qt pool's, inside Qt, it cannot).
    QPromise<Outcome> started;
    watcher->setFuture(started.future());
    started.start();
    std::thread([promise = std::move(started), request, counts]() mutable {
        promise.setProgressRange(0, std::numeric_limits<int>::max());
        request.progress = [&promise, counts](std::int64_t received, std::int64_t expected) {
            if (received != counts->received) {
                counts->received = received;
                counts->expected = expected;
                promise.setProgressValue(static_cast<int>(std::min<std::int64_t>(received, INT_MAX)));
            }
            return !promise.isCanceled();
        };
        Outcome outcome;
        // The book arrives straight into the buffer the reader keeps: no second copy of it.
        request.receive = [&outcome, counts](const char *data, std::size_t size) {
            if (outcome.body.isEmpty() && counts->expected > 0)
                outcome.body.reserve(
                    static_cast<qsizetype>(std::min<std::int64_t>(counts->expected, maxBookBytes)));
            outcome.body.append(data, static_cast<qsizetype>(size));
            return true;
        };
        HttpResponse response = performHttp(request);
        outcome.error = QString::fromStdString(response.error);
        outcome.status = static_cast<int>(response.status);
        promise.addResult(std::move(outcome));
        promise.finish();
    }).detach();
}

void BookDownload::finish() {
    const auto *done = watcher;
    if (!done || done->isCanceled() || done->future().resultCount() == 0)
        return;
    const Outcome outcome = done->result();
    if (outcome.error.isEmpty()) {
        // Progress reports are thinned out on the way to this thread; the last one may be missing.
        emit progress(outcome.body.size(), outcome.body.size());
        emit completed(outcome.status, outcome.body);
    } else
        emit failed(outcome.error);
}
