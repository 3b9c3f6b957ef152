#include "devserver/Replies.h"

#include <httplib.h>

namespace devserver {

Json reply(const std::string &code, const std::string &msg) {
    return Json{{"code", code}, {"msg", msg}};
}

void send(httplib::Response &res, const Json &body) {
    res.status = 200;
    res.set_content(body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
                    "application/json; charset=utf-8");
}

void sendRefusal(httplib::Response &res, const std::string &code, const std::string &msg) {
    Json body = reply(code, msg);
    body["data"] = Json::array();
    send(res, body);
}

} // namespace devserver
