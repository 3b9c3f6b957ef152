#include "devserver/Registration.h"

#include "devserver/Database.h"
#include "devserver/Sessions.h"

#include <httplib.h>
#include <regex>

namespace devserver {

namespace {

constexpr std::size_t kMaxPictureBytes = 5 * 1024 * 1024;

const char *const kRequired[] = {
    "id_mitra",     "username",     "password",  "nama",   "id_provinsi",     "id_kota",
    "id_kecamatan", "id_kelurahan", "tgl_lahir", "gender", "nomor_identitas", "jenis_identitas",
    "pekerjaan",    "pendidikan",   "alamat",    "kota",   "no_telepon"};

// File extension for the picture formats accepted, recognised by their first bytes.
std::string pictureExtension(const std::string &bytes) {
    if (bytes.rfind("\x89PNG\r\n\x1a\n", 0) == 0)
        return ".png";
    if (bytes.rfind("\xFF\xD8\xFF", 0) == 0)
        return ".jpg";
    if (bytes.rfind("GIF87a", 0) == 0 || bytes.rfind("GIF89a", 0) == 0)
        return ".gif";
    if (bytes.rfind("BM", 0) == 0)
        return ".bmp";
    return {};
}

std::string checkPicture(const httplib::MultipartFormData &part, const char *label, std::string &bytes,
                         std::string &extension) {
    if (part.filename.empty() || part.content.empty())
        return std::string(label) + " wajib diunggah";
    if (part.content.size() > kMaxPictureBytes)
        return std::string(label) + " terlalu besar (maksimal 5 MB)";
    extension = pictureExtension(part.content);
    if (extension.empty())
        return std::string(label) + " harus berupa gambar PNG, JPEG, GIF atau BMP";
    bytes = part.content;
    return {};
}

// The village must lie in the district, the district in the city, the city in the province.
bool regionsConsistent(Database &db, const Json &d) {
    auto parentOf = [&](const char *key, const char *level) -> std::optional<std::string> {
        auto row = db.queryOne("SELECT parent FROM regions WHERE id = ? AND level = ?",
                               {d[key].get<std::string>(), std::string(level)});
        if (!row)
            return std::nullopt;
        return row->isNull(0) ? std::string() : row->text(0);
    };
    return parentOf("id_provinsi", "provinsi") == std::string() &&
           parentOf("id_kota", "kota") == d["id_provinsi"].get<std::string>() &&
           parentOf("id_kecamatan", "kecamatan") == d["id_kota"].get<std::string>() &&
           parentOf("id_kelurahan", "kelurahan") == d["id_kecamatan"].get<std::string>();
}

std::string checkFields(const Json &d, Database &db) {
    for (const char *key : kRequired)
        if (!d.contains(key) || !d[key].is_string() || d[key].get<std::string>().empty())
            return std::string("Data registrasi tidak lengkap: ") + key;
    static const std::regex email(R"([A-Za-z0-9._%+'-]+@[A-Za-z0-9-]+(\.[A-Za-z0-9-]+)*\.[A-Za-z]{2,})");
    static const std::regex password(R"((?=.*[A-Za-z])(?=.*[0-9])[A-Za-z0-9]{8,})");
    static const std::regex date(R"((19|20)[0-9]{2}-(0[1-9]|1[0-2])-(0[1-9]|[12][0-9]|3[01]))");
    static const std::regex digits(R"([0-9]{6,15})");
    if (d["id_mitra"] != kClientId)
        return "Mitra tidak dikenal";
    if (!std::regex_match(d["username"].get<std::string>(), email))
        return "Format e-mail tidak valid";
    if (!std::regex_match(d["password"].get<std::string>(), password))
        return "Kata sandi minimal 8 karakter berisi huruf dan angka";
    if (!std::regex_match(d["tgl_lahir"].get<std::string>(), date))
        return "Tanggal lahir tidak valid";
    if (d["gender"] != "L" && d["gender"] != "P")
        return "Jenis kelamin tidak valid";
    if (!std::regex_match(d["no_telepon"].get<std::string>(), digits))
        return "Nomor telepon hanya boleh berisi 6 sampai 15 angka";
    if (!regionsConsistent(db, d))
        return "Wilayah tidak valid";
    return {};
}

} // namespace

std::string readRegistration(const std::string &dataText, const httplib::MultipartFormData &identity,
                             const httplib::MultipartFormData &photo, Database &db, RegistrationForm &out) {
    Json d = Json::parse(dataText, nullptr, false);
    if (d.is_discarded() || !d.is_object())
        return "Data registrasi harus berupa JSON";
    if (std::string problem = checkFields(d, db); !problem.empty())
        return problem;
    if (std::string problem =
            checkPicture(identity, "Foto tanda pengenal", out.identity, out.identityExtension);
        !problem.empty())
        return problem;
    if (std::string problem = checkPicture(photo, "Foto profil", out.photo, out.photoExtension);
        !problem.empty())
        return problem;
    out.username = d["username"].get<std::string>();
    out.password = d["password"].get<std::string>();
    out.nama = d["nama"].get<std::string>();
    d.erase("password");
    out.details = d;
    return {};
}

} // namespace devserver
