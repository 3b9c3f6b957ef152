#pragma once
#include <string>

// The member's details as the registration call sends them, every value as text (UTF-8).
struct RegistrationData {
    std::string username, password, nama;
    std::string id_provinsi, id_kota, id_kecamatan, id_kelurahan;
    std::string tgl_lahir; // "yyyy-mm-dd"
    std::string gender;    // "L" or "P"
    std::string nomor_identitas, jenis_identitas, pekerjaan, pendidikan, alamat, kota, no_telepon;
};

// The JSON object of the request's "data" field: "id_mitra" (the tenant) and then the details, in
// the order the service expects, each a JSON string.
std::string registrationDataJson(const RegistrationData &data);
