#include "service/RegistrationRequests.h"

#include "KelvaraConfig.h"
#include "service/ServiceCall.h"
#include "service/UrlPath.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

std::string pictureType(const std::string &path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (extension == ".jpg" || extension == ".jpeg")
        return "image/jpeg";
    if (extension == ".png")
        return "image/png";
    return "application/octet-stream";
}

RegionLookup regionLookup(const ServiceEndpoint &endpoint, const std::string &path,
                          const std::string &failurePrefix) {
    JsonDocument parsed;
    const std::string failure = replyFailure(performHttp(serviceGet(endpoint, path)), parsed);
    if (!failure.empty())
        return {nullptr, failurePrefix + failure};
    return {std::make_shared<const JsonDocument>(std::move(parsed)), {}};
}

} // namespace

JsonPtr executeRegister(const ServiceEndpoint &endpoint, const std::string &dataJson,
                        const std::string &identityPhotoPath, const std::string &profilePhotoPath) {
    HttpRequest request = serviceGet(endpoint, "/api/wl/executeRegistration");
    request.method = "POST";
    request.headers = {{"CLIENTID", KelvaraConfig::ClientId}, {"OS", KelvaraConfig::OsName}};
    request.parts = {
        {"data", dataJson, "application/json; charset=utf-8", {}},
        {"foto_identitas", {}, pictureType(identityPhotoPath), identityPhotoPath},
        {"photo", {}, pictureType(profilePhotoPath), profilePhotoPath},
    };
    return serviceReply(request, "");
}

RegionLookup provinsiRequest(const ServiceEndpoint &endpoint) {
    return regionLookup(endpoint, "/api/generic/provinsi", "Request Error #408: ");
}

RegionLookup kotaRequest(const ServiceEndpoint &endpoint, const std::string &provinceId) {
    return regionLookup(endpoint, "/api/generic/kota/" + encodePathSegment(provinceId), "Request Error : ");
}

RegionLookup kecamatanRequest(const ServiceEndpoint &endpoint, const std::string &cityId) {
    return regionLookup(endpoint, "/api/generic/kecamatan/" + encodePathSegment(cityId), "Request Error : ");
}

RegionLookup kelurahanRequest(const ServiceEndpoint &endpoint, const std::string &districtId) {
    return regionLookup(endpoint, "/api/generic/kelurahan/" + encodePathSegment(districtId),
                        "Request Error : ");
}
