#pragma once
#include "service/RuvasaLib.h"
#include "tests/service/RecordingHttpsServer.h"
#include "tests/service/TestCertificate.h"

#include <memory>

// A recording HTTPS server and a service client that trusts it, shared by the tests of one suite.
struct ServiceTestBed {
    TestCertificate certificate;
    RecordingHttpsServer server{certificate};
    ServiceEndpoint endpoint{server.baseUrl(), certificate.certificateFile()};
    TRuvasaLib lib{endpoint};

    // The requests the server got since `since` requests.
    std::vector<RecordedRequest> requestsAfter(size_t since) const {
        const auto all = server.requests();
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(since, all.size())), all.end()};
    }
};

// The headers a request carried beyond the ones curl adds itself, in the order they were sent.
inline HeaderPairs customHeaders(const RecordedRequest &request) {
    HeaderPairs custom;
    for (const auto &header : request.headers)
        if (header.first != "Host" && header.first != "Accept" && header.first != "Content-Length" &&
            header.first != "Content-Type")
            custom.push_back(header);
    return custom;
}

inline CannedReply jsonReply(int status, std::string body) {
    CannedReply reply;
    reply.status = status;
    reply.body = std::move(body);
    return reply;
}
