// Fetching the annotations kept by the service from an earlier loan into the data folder.
#include "service/RuvasaLib.h"

#include "service/ServiceCall.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>
#include <optional>

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// "https://authority" of an https address in lower case, "" for anything else: nothing is fetched
// in clear text.
std::string httpsOrigin(const std::string &url) {
    const std::string lower = lowerCase(url);
    const std::string prefix = "https://";
    if (lower.rfind(prefix, 0) != 0)
        return {};
    const size_t end = lower.find_first_of("/?#", prefix.size());
    return end == prefix.size() ? std::string() : lower.substr(0, end);
}

// The service refuses a fetch with its reply envelope (a "code" other than "200"), which is no
// annotation document: its "msg", or nothing when the body is not such a refusal.
std::optional<std::string> refusalOf(const std::string &body) {
    const nlohmann::json reply = nlohmann::json::parse(body, nullptr, false);
    if (!reply.is_object() || reply.contains("id_konten") || !reply.contains("code"))
        return std::nullopt;
    const nlohmann::json &code = reply["code"];
    if (code == "200" || code == 200)
        return std::nullopt;
    const nlohmann::json &msg = reply.value("msg", nlohmann::json());
    return "Refused: " + (msg.is_string() ? msg.get<std::string>() : code.dump());
}

bool isServicePath(const std::string &address) {
    return address.size() > 1 && address[0] == '/' && address[1] != '/';
}

} // namespace

std::string TRuvasaLib::fetchStoredAnnotations(const std::string &fileAnotasi) {
    const QString target = QString::fromStdString(FPath + "/tempAnnot.json");
    QFile::remove(target); // never hand a file from an earlier loan to this one
    const std::string url = isServicePath(fileAnotasi) ? endpoint.baseUrl + fileAnotasi : fileAnotasi;
    const std::string origin = httpsOrigin(url);
    if (origin.empty())
        return "Not an https address: " + fileAnotasi;
    HttpRequest request = serviceGet(endpoint, "");
    request.url = url;
    if (origin == httpsOrigin(endpoint.baseUrl + "/"))
        setCustomParams(request); // the session goes to the service only
    const HttpResponse response = performHttp(request);
    if (!response.completed())
        return response.error;
    if (response.status < 200 || response.status > 299)
        return "HTTP error " + std::to_string(response.status);
    if (std::optional<std::string> refusal = refusalOf(response.body))
        return *refusal;
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(response.body.data(), static_cast<qint64>(response.body.size())) < 0 || !file.commit())
        return "Cannot write " + target.toStdString() + ": " + file.errorString().toStdString();
    return {};
}
