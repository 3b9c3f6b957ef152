#include "service/ServiceCall.h"

#include "service/ReplyText.h"

namespace {

HttpRequest serviceRequest(const ServiceEndpoint &endpoint, const char *method, const std::string &path) {
    HttpRequest request;
    request.method = method;
    request.url = endpoint.baseUrl + path;
    request.caFile = endpoint.caFile;
    request.totalTimeoutMs = endpoint.deadlineMs;
    return request;
}

} // namespace

HttpRequest serviceGet(const ServiceEndpoint &endpoint, const std::string &path) {
    return serviceRequest(endpoint, "GET", path);
}

HttpRequest serviceFormPost(const ServiceEndpoint &endpoint, const std::string &path,
                            const FormFields &fields) {
    HttpRequest request = serviceRequest(endpoint, "POST", path);
    request.body = encodeForm(fields);
    request.contentType = "application/x-www-form-urlencoded";
    return request;
}

HttpRequest serviceJsonPost(const ServiceEndpoint &endpoint, const std::string &path,
                            const std::string &json) {
    HttpRequest request = serviceRequest(endpoint, "POST", path);
    request.body = json;
    request.contentType = "application/json; charset=utf-8";
    return request;
}

JsonPtr madeUpReply(const std::string &prefix, const std::string &failure) {
    JsonDocument reply = JsonDocument::object();
    reply["code"] = "500";
    // Invalid UTF-8 in a system message must not make the reply unwritable later.
    reply["msg"] = JsonDocument::parse(
        JsonDocument(prefix + failure).dump(-1, ' ', false, JsonDocument::error_handler_t::replace));
    return std::make_shared<const JsonDocument>(std::move(reply));
}

std::string replyFailure(HttpResponse response, JsonDocument &parsed) {
    if (!response.completed())
        return response.error;
    if (response.status >= 400)
        return "HTTP error " + std::to_string(response.status);
    try {
        parsed = parseOutsideJson(replyTextAsUtf8(std::move(response.body), response.contentType));
    } catch (const std::exception &) {
        parsed = JsonDocument();
    }
    if (!parsed.is_object())
        return "The service's reply is not a JSON object (HTTP status " + std::to_string(response.status) +
               ")";
    return {};
}

JsonPtr serviceReply(const HttpRequest &request, const std::string &failurePrefix) {
    JsonDocument parsed;
    const std::string failure = replyFailure(performHttp(request), parsed);
    if (!failure.empty())
        return madeUpReply(failurePrefix, failure);
    return std::make_shared<const JsonDocument>(std::move(parsed));
}
