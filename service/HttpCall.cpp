// One HTTP exchange over libcurl, on a handle (and its open connections) taken from a pool.
#include "service/HttpCall.h"

#include "service/ConnectionPool.h"
#include "service/TransferCancel.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

// Why a callback stopped a transfer.
enum class Stop { No, TooLarge, Cancelled, Deadline };

// What the callbacks of one transfer share with the code that started it.
struct Transfer {
    explicit Transfer(const HttpRequest &request) : request(request) {}

    const HttpRequest &request;
    Clock::time_point started = Clock::now();
    std::string body;
    std::size_t received = 0;
    Stop stop = Stop::No;
};

size_t receiveBody(char *data, size_t size, size_t count, void *user) {
    auto *transfer = static_cast<Transfer *>(user);
    const size_t bytes = size * count;
    if (transfer->received + bytes > transfer->request.maxBodyBytes) {
        transfer->stop = Stop::TooLarge;
        return 0; // stops the transfer
    }
    transfer->received += bytes;
    if (transfer->request.receive)
        return transfer->request.receive(data, bytes) ? bytes : 0;
    transfer->body.append(data, bytes);
    return bytes;
}

long elapsedMs(const Transfer &transfer) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - transfer.started).count());
}

// Called by curl as data moves and about once a second while it waits, in every phase of the
// exchange: ends it when the program closes or the exchange outlives what its size allows.
int reportProgress(void *user, curl_off_t expected, curl_off_t received, curl_off_t, curl_off_t) {
    auto *transfer = static_cast<Transfer *>(user);
    if (transfersCancelled())
        transfer->stop = Stop::Cancelled;
    else if (elapsedMs(*transfer) > allowedDurationMs(transfer->request, std::max(expected, received)))
        transfer->stop = Stop::Deadline;
    else if (transfer->request.progress && !transfer->request.progress(received, expected))
        return 1;
    return transfer->stop == Stop::No ? 0 : 1;
}

CURLcode installTrustStore(CURL *, void *sslContext, void *user) {
    static_cast<const TrustStore *>(user)->installIn(sslContext);
    return CURLE_OK;
}

// "Name: value", or "Name;" which is how curl sends a header with an empty value.
std::string headerLine(const std::string &name, const std::string &value) {
    return value.empty() ? name + ";" : name + ": " + value;
}

CurlHeaderList headerList(const HttpRequest &request) {
    CurlHeaderList list;
    auto append = [&list](const std::string &line) {
        curl_slist *next = curl_slist_append(list.get(), line.c_str());
        if (!next)
            throw std::runtime_error("Out of memory");
        list.release();
        list.reset(next);
    };
    for (const auto &[name, value] : request.headers)
        append(headerLine(name, value));
    if (!request.contentType.empty() && request.parts.empty())
        append("Content-Type: " + request.contentType);
    append("Expect:"); // no "100-continue" round trip
    return list;
}

CurlMime mimeBody(CURL *handle, const std::vector<MimePart> &parts) {
    CurlMime mime(curl_mime_init(handle));
    for (const MimePart &part : parts) {
        curl_mimepart *field = curl_mime_addpart(mime.get());
        curl_mime_name(field, part.name.c_str());
        if (part.filePath.empty())
            curl_mime_data(field, part.data.data(), part.data.size());
        else if (curl_mime_filedata(field, part.filePath.c_str()) != CURLE_OK)
            throw std::runtime_error("Cannot read " + part.filePath);
        if (!part.contentType.empty())
            curl_mime_type(field, part.contentType.c_str());
    }
    return mime;
}

std::string failureText(const Transfer &transfer, CURLcode code, const char *detail) {
    switch (transfer.stop) {
    case Stop::TooLarge:
        return "Reply larger than " + std::to_string(transfer.request.maxBodyBytes) + " bytes";
    case Stop::Cancelled:
        return "Cancelled: the program is closing";
    case Stop::Deadline:
        return "Timeout was reached: no complete reply after " + std::to_string(elapsedMs(transfer)) + " ms";
    case Stop::No:
        break;
    }
    std::string text =
        code == CURLE_UNSUPPORTED_PROTOCOL ? "Only https addresses are allowed" : curl_easy_strerror(code);
    if (detail[0] != '\0')
        text += std::string(": ") + detail;
    return text;
}

// Nothing in clear text, not even after a redirect: https only, TLS 1.2 or newer, peer and host
// verified against the pool's trust store, which replaces what libcurl would read for each connection.
void secure(CURL *h, const TrustStore &trusted) {
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(h, CURLOPT_SSLVERSION, CURL_SSLVERSION_TLSv1_2);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(h, CURLOPT_CAINFO, nullptr);
    curl_easy_setopt(h, CURLOPT_CAPATH, nullptr);
    curl_easy_setopt(h, CURLOPT_SSL_CTX_FUNCTION, installTrustStore);
    curl_easy_setopt(h, CURLOPT_SSL_CTX_DATA, &trusted);
}

// Sets the options of one transfer; the objects handed to curl must outlive curl_easy_perform.
void configure(CURL *h, const HttpRequest &request, Transfer &transfer, curl_slist *headers, curl_mime *mime,
               const TrustStore &trusted, char *errorBuffer) {
    curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
    secure(h, trusted);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, request.connectTimeoutMs);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, request.stallTimeoutSeconds);
    // The longest the exchange may take at any size; the progress callback holds it to its actual size.
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS,
                     allowedDurationMs(request, static_cast<std::int64_t>(request.maxBodyBytes)));
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    if (request.cookies)
        curl_easy_setopt(h, CURLOPT_COOKIEFILE, ""); // in-memory cookie engine for this exchange
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, receiveBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, reportProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
    if (mime) {
        curl_easy_setopt(h, CURLOPT_MIMEPOST, mime);
    } else if (request.method == "POST") {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    } else if (request.method != "GET") {
        curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    }
}

HttpResponse perform(const HttpRequest &request) {
    ConnectionPool &pool = ConnectionPool::forCaFile(request.caFile);
    ConnectionPool::Lease handle = pool.take();
    if (request.cookies)
        handle.discard(); // this exchange's cookies must not go out with a later call
    const CurlHeaderList headers = headerList(request);
    const CurlMime mime = request.parts.empty() ? CurlMime() : mimeBody(handle.get(), request.parts);
    Transfer transfer(request);
    char errorBuffer[CURL_ERROR_SIZE] = "";
    configure(handle.get(), request, transfer, headers.get(), mime.get(), pool.trustStore(), errorBuffer);

    HttpResponse response;
    const CURLcode code = curl_easy_perform(handle.get());
    if (code != CURLE_OK)
        response.error = failureText(transfer, code, errorBuffer);
    curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &response.status);
    const char *contentType = nullptr;
    if (curl_easy_getinfo(handle.get(), CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK && contentType)
        response.contentType = contentType;
    response.body = std::move(transfer.body);
    return response;
}

} // namespace

CurlEasy newCurlHandle() {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    return CurlEasy(curl_easy_init());
}

long allowedDurationMs(const HttpRequest &request, std::int64_t bodyBytes) {
    if (request.bytesPerExtraSecond <= 0)
        return request.totalTimeoutMs;
    const std::int64_t counted = std::clamp<std::int64_t>(bodyBytes, 0, request.maxBodyBytes);
    return request.totalTimeoutMs + static_cast<long>(counted * 1000 / request.bytesPerExtraSecond);
}

HttpResponse performHttp(const HttpRequest &request) {
    try {
        return perform(request);
    } catch (const std::exception &error) {
        HttpResponse failed;
        failed.error = error.what();
        return failed;
    }
}
