#include "devserver/SampleRegions.h"

#include "devserver/Database.h"

#include <string>
#include <vector>

namespace devserver {

namespace {

struct Province {
    const char *id;
    const char *name;
    std::vector<const char *> cities;
};

const std::vector<Province> kProvinces = {
    {"32", "Jawa Barat", {"Bandung", "Bogor", "Cirebon"}},
    {"33", "Jawa Tengah", {"Semarang", "Surakarta", "Magelang"}},
    {"35", "Jawa Timur", {"Surabaya", "Malang", "Kediri"}},
    {"51", "Bali", {"Denpasar", "Singaraja", "Gianyar"}},
    {"12", "Sumatera Utara", {"Medan", "Pematangsiantar", "Sibolga"}},
};

const char *kDistrictParts[] = {"Utara", "Selatan", "Tengah"};
const char *kVillageParts[] = {"Sukamaju", "Mekarsari", "Sukasari"};

void insert(Database &db, const std::string &id, const char *level, const std::string &parent,
            const std::string &name) {
    db.run("INSERT INTO regions VALUES (?, ?, ?, ?)",
           {id, std::string(level), parent.empty() ? SqlValue(nullptr) : SqlValue(parent), name});
}

} // namespace

void createSampleRegions(Database &db) {
    for (const Province &p : kProvinces) {
        insert(db, p.id, "provinsi", "", p.name);
        for (std::size_t c = 0; c < p.cities.size(); ++c) {
            const std::string city = p.id + std::to_string(c + 1).insert(0, 1, '0');
            const std::string cityName = p.cities[c];
            insert(db, city, "kota", p.id, "Kota " + cityName);
            for (std::size_t d = 0; d < 3; ++d) {
                const std::string district = city + "0" + std::to_string(d + 1);
                const std::string districtName = cityName + " " + kDistrictParts[d];
                insert(db, district, "kecamatan", city, districtName);
                for (std::size_t v = 0; v < 3; ++v)
                    insert(db, district + "100" + std::to_string(v + 1), "kelurahan", district,
                           std::string(kVillageParts[v]) + " " + districtName);
            }
        }
    }
}

} // namespace devserver
