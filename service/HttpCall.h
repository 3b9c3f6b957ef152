#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// One part of a multipart/form-data body: text (`data`) or the contents of the file `filePath`.
struct MimePart {
    std::string name;
    std::string data;
    std::string contentType;
    std::string filePath; // non-empty: a file part, sent with the file's own name
};

// One HTTP exchange. Calls with the same `caFile` share connections, TLS sessions and DNS answers.
struct HttpRequest {
    std::string method = "GET";
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers; // sent in this order after curl's own
    std::string body;                                         // POST body, unless `parts` is used
    std::string contentType;                                  // of `body`
    std::vector<MimePart> parts;                              // non-empty: a multipart/form-data body
    std::string caFile;                                       // trusted in addition to the system store
    long connectTimeoutMs = 60000;
    long stallTimeoutSeconds = 30; // abort when no data arrives for this long
    long totalTimeoutMs = 180000;  // the whole exchange ends by then, however slowly data keeps coming
    // > 0: the total limit grows by a second for every this many bytes of the body, declared or received
    // so far (counting at most maxBodyBytes), so that a large download gets the time it needs.
    std::int64_t bytesPerExtraSecond = 0;
    bool followRedirects = false;
    bool cookies = false;                        // keep cookies across the redirects of this exchange
    std::size_t maxBodyBytes = 64 * 1024 * 1024; // a longer reply is a failed call
    // Called as data arrives with the bytes received and expected (0 when unknown); false aborts.
    std::function<bool(std::int64_t received, std::int64_t expected)> progress;
    // When set, the body is handed here as it arrives instead of being kept in the response (a download
    // that fills a buffer of its own); false aborts.
    std::function<bool(const char *data, std::size_t size)> receive;
};

struct HttpResponse {
    std::string error;       // empty when the exchange completed (whatever its status)
    long status = 0;         // HTTP status, 0 when none arrived
    std::string body;        // as received
    std::string contentType; // the reply's Content-Type header

    bool completed() const { return error.empty(); }
};

// Performs the exchange over https only (redirects included), with TLS 1.2 or newer. Never throws: a
// transport or TLS failure, a time-out, an oversized reply, an address that is not https or the
// program's close (transfersCancelled()) is reported in `error`.
HttpResponse performHttp(const HttpRequest &request);

// How long `request` may last, in milliseconds, once its body is known to be `bodyBytes` long.
long allowedDurationMs(const HttpRequest &request, std::int64_t bodyBytes);
