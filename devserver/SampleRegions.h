#pragma once

namespace devserver {

class Database;

// Provinces, cities, districts and villages for the registration cascade; names are unique per level.
void createSampleRegions(Database &db);

} // namespace devserver
