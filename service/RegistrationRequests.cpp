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

// An id that a server could decode back into a step out of the region's path, even encoded.
bool climbsThePath(const std::string &id) {
    return id == "." || id == ".." || id.find_first_of("/\\") != std::string::npos;
}

RegionLookup regionLookup(const ServiceEndpoint &endpoint, const std::string &path,
                          const std::string &failurePrefix) {
    JsonDocument parsed;
    const std::string failure = replyFailure(performHttp(serviceGet(endpoint, path)), parsed);
    if (!failure.empty())
        return {nullptr, failurePrefix + failure};
    return {std::make_shared<const JsonDocument>(std::move(parsed)), {}};
}

// A look-up below a parent region: an id that could climb the path is refused without a call.
RegionLookup childRegionLookup(const ServiceEndpoint &endpoint, const std::string &folder,
                               const std::string &parentId) {
    const std::string prefix = "Request Error : ";
    if (climbsThePath(parentId))
        return {nullptr, prefix + "Invalid region id \"" + parentId + "\""};
    return regionLookup(endpoint, folder + encodePathSegment(parentId), prefix);
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
    return childRegionLookup(endpoint, "/api/generic/kota/", provinceId);
}

RegionLookup kecamatanRequest(const ServiceEndpoint &endpoint, const std::string &cityId) {
    return childRegionLookup(endpoint, "/api/generic/kecamatan/", cityId);
}

RegionLookup kelurahanRequest(const ServiceEndpoint &endpoint, const std::string &districtId) {
    return childRegionLookup(endpoint, "/api/generic/kelurahan/", districtId);
}
