#pragma once
#include "service/ServiceEndpoint.h"

#include <map>
#include <string>

// The four levels of the region cascade, from the top.
enum class RegionLevel { Provinsi, Kota, Kecamatan, Kelurahan };
inline constexpr int RegionLevelCount = 4;

// One level's places: each name as shown in its box, with the place's identifier.
using RegionMap = std::map<std::string, std::string>;

struct RegionAnswer {
    RegionMap places;
    std::string errorText; // the text to show when the look-up failed, else empty
};

// The background task's name of a level's look-up ("provinsiRequest" ...).
const char *regionTaskName(RegionLevel level);

// Looks up the places of `level` below the place `parentId` (unused for provinces). A failed call, or
// a reply with a "code" other than "200", gives no places and the level's error text. Elements of
// "data" without a name or an identifier are skipped.
RegionAnswer lookUpRegions(const ServiceEndpoint &endpoint, RegionLevel level, const std::string &parentId);
