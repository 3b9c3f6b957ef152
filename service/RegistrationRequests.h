#pragma once
#include "service/JsonDocument.h"
#include "service/ServiceEndpoint.h"

#include <string>

// Calls of the registration window. Each makes one request with an HTTP client of its own.

// Posts the member's details (`dataJson`, a JSON object's text) with the identity picture and the
// profile picture as one multipart form. A failed call returns {"code":"500","msg": failure text}.
JsonPtr executeRegister(const ServiceEndpoint &endpoint, const std::string &dataJson,
                        const std::string &identityPhotoPath, const std::string &profilePhotoPath);

// A region look-up: the reply object, or the text to show when the call failed.
struct RegionLookup {
    JsonPtr reply;         // null when the call failed
    std::string errorText; // "Request Error #408: ..." or "Request Error : ..." on failure
};

RegionLookup provinsiRequest(const ServiceEndpoint &endpoint);
// The look-ups below a parent region refuse, without a call, a parent id of "." or ".." or one
// holding "/" or "\", which a server could decode back into a step out of the path.
RegionLookup kotaRequest(const ServiceEndpoint &endpoint, const std::string &provinceId);
RegionLookup kecamatanRequest(const ServiceEndpoint &endpoint, const std::string &cityId);
RegionLookup kelurahanRequest(const ServiceEndpoint &endpoint, const std::string &districtId);
