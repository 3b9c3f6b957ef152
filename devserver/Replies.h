#pragma once
#include <nlohmann/json.hpp>
#include <string>

namespace httplib {
struct Response;
}

namespace devserver {

using Json = nlohmann::ordered_json;

// The service's reply envelope: "code" (text), "msg", then any further members.
Json reply(const std::string &code, const std::string &msg);
void send(httplib::Response &res, const Json &body);
void sendRefusal(httplib::Response &res, const std::string &code, const std::string &msg);

inline constexpr const char *kAuthFailed = "Auth Failed";

} // namespace devserver
