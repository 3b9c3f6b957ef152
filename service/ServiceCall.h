#pragma once
#include "service/FormBody.h"
#include "service/HttpCall.h"
#include "service/JsonDocument.h"
#include "service/ServiceEndpoint.h"

#include <string>

// Building and making calls to the library service.

HttpRequest serviceGet(const ServiceEndpoint &endpoint, const std::string &path);
HttpRequest serviceFormPost(const ServiceEndpoint &endpoint, const std::string &path,
                            const FormFields &fields);
HttpRequest serviceJsonPost(const ServiceEndpoint &endpoint, const std::string &path,
                            const std::string &json);

// The reply the client makes up for a failed call: {"code":"500","msg": prefix + failure}.
JsonPtr madeUpReply(const std::string &prefix, const std::string &failure);

// Why a finished exchange does not count as a reply: an HTTP status of 400 or above or no body
// that parses as a JSON object. "" when `response` holds a usable reply, then parsed into `parsed`.
// The response is taken over, so that its body is freed as soon as it is decoded.
std::string replyFailure(HttpResponse response, JsonDocument &parsed);

// Makes the call and returns its reply object; every failure (transport, TLS, time-out, HTTP status
// of 400 or above, a body that is not a JSON object) becomes madeUpReply(failurePrefix, why).
JsonPtr serviceReply(const HttpRequest &request, const std::string &failurePrefix);
