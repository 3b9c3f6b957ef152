#include "devserver/ServiceContext.h"

#include <httplib.h>
#include <regex>

namespace devserver {

std::string ServiceContext::baseUrl(const httplib::Request &req) const {
    static const std::regex local(R"((127\.0\.0\.1|localhost)(:[0-9]{1,5})?)");
    const std::string host = req.get_header_value("Host");
    if (std::regex_match(host, local))
        return "https://" + host;
    return "https://127.0.0.1:" + std::to_string(port);
}

} // namespace devserver
