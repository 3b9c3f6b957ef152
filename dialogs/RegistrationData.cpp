#include "dialogs/RegistrationData.h"

#include "KelvaraConfig.h"
#include "service/JsonDocument.h"

std::string registrationDataJson(const RegistrationData &data) {
    JsonDocument object = JsonDocument::object();
    object["id_mitra"] = std::string(KelvaraConfig::ClientId);
    object["username"] = data.username;
    object["password"] = data.password;
    object["nama"] = data.nama;
    object["id_provinsi"] = data.id_provinsi;
    object["id_kota"] = data.id_kota;
    object["id_kecamatan"] = data.id_kecamatan;
    object["id_kelurahan"] = data.id_kelurahan;
    object["tgl_lahir"] = data.tgl_lahir;
    object["gender"] = data.gender;
    object["nomor_identitas"] = data.nomor_identitas;
    object["jenis_identitas"] = data.jenis_identitas;
    object["pekerjaan"] = data.pekerjaan;
    object["pendidikan"] = data.pendidikan;
    object["alamat"] = data.alamat;
    object["kota"] = data.kota;
    object["no_telepon"] = data.no_telepon;
    return object.dump();
}
