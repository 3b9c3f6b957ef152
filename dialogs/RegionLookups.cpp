#include "dialogs/RegionLookups.h"

#include "service/RegistrationRequests.h"
#include "service/ReplyValues.h"

namespace {

RegionLookup request(const ServiceEndpoint &endpoint, RegionLevel level, const std::string &parentId) {
    switch (level) {
    case RegionLevel::Provinsi:
        return provinsiRequest(endpoint);
    case RegionLevel::Kota:
        return kotaRequest(endpoint, parentId);
    case RegionLevel::Kecamatan:
        return kecamatanRequest(endpoint, parentId);
    case RegionLevel::Kelurahan:
        return kelurahanRequest(endpoint, parentId);
    }
    return {};
}

// The prefix of the level's failure texts.
std::string failurePrefix(RegionLevel level) {
    return level == RegionLevel::Provinsi ? "Request Error #408: " : "Request Error : ";
}

RegionMap placesOf(const JsonDocument *data) {
    RegionMap places;
    if (!data || !data->is_array())
        return places;
    for (const JsonDocument &place : *data) {
        const std::string name = replyText(&place, "nama");
        const std::string id = replyText(&place, "id");
        if (!name.empty() && !id.empty())
            places[name] = id;
    }
    return places;
}

} // namespace

const char *regionTaskName(RegionLevel level) {
    switch (level) {
    case RegionLevel::Provinsi:
        return "provinsiRequest";
    case RegionLevel::Kota:
        return "kotaRequest";
    case RegionLevel::Kecamatan:
        return "kecamatanRequest";
    case RegionLevel::Kelurahan:
        return "kelurahanRequest";
    }
    return "";
}

RegionAnswer lookUpRegions(const ServiceEndpoint &endpoint, RegionLevel level, const std::string &parentId) {
    const RegionLookup lookup = request(endpoint, level, parentId);
    if (!lookup.reply)
        return {{}, lookup.errorText};
    if (replyText(lookup.reply, "code") != "200")
        return {{}, failurePrefix(level) + replyMessage(lookup.reply).toStdString()};
    return {placesOf(replyData(lookup.reply)), {}};
}
