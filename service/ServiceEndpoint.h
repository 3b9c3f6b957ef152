#pragma once
#include "KelvaraConfig.h"

#include <string>

// Where the service client sends its requests and whom it trusts besides the system store.
struct ServiceEndpoint {
    std::string baseUrl; // "https://host[:port]", no trailing slash
    std::string caFile;  // PEM certificates trusted in addition to the system store; may be empty
    // Every call and download ends by then at the latest (a download's limit grows with its size); no
    // real reply takes this long. Tests pass a shorter one.
    long deadlineMs = 180000;

    // The service the client was built for.
    static ServiceEndpoint builtIn() { return {KelvaraConfig::ServiceBaseUrl, KelvaraConfig::ServiceCaFile}; }
};
