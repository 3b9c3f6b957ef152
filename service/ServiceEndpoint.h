#pragma once
#include "KelvaraConfig.h"

#include <string>

// Where the service client sends its requests and whom it trusts besides the system store.
struct ServiceEndpoint {
    std::string baseUrl; // "https://host[:port]", no trailing slash
    std::string caFile;  // PEM certificates trusted in addition to the system store; may be empty

    // The service the client was built for.
    static ServiceEndpoint builtIn() { return {KelvaraConfig::ServiceBaseUrl, KelvaraConfig::ServiceCaFile}; }
};
