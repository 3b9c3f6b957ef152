#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace devserver {

class Database;

struct SampleMember {
    std::string username;
    std::string password;
    std::string nama;
};

// Pages on which the sample sentence stands, so sentence search has known hits.
struct PhrasePlacement {
    std::string bookId;
    int pageIndex;
};

inline constexpr const char *kSampleSentence = "Cahaya kunang-kunang menerangi jalan setapak menuju desa.";
inline constexpr const char *kBookOutOfStock = "1008";
inline constexpr const char *kBookLastCopy = "1009";
inline constexpr const char *kBookLong = "1011";
inline constexpr const char *kBookWithoutCitations = "1013";

const std::vector<SampleMember> &sampleMembers();
const std::vector<PhrasePlacement> &samplePhrasePlacements();

bool hasSampleContent(Database &db);
// Fills an empty database with the institution, catalogue, members and regions, and writes the
// covers, logos, banners and book files under `publicDir`.
void createSampleContent(Database &db, const std::filesystem::path &publicDir);

} // namespace devserver
