// The registration's data object: its keys in order, every value a JSON string that reads back as
// typed, whatever quotes, backslashes or line breaks it holds.
#include "dialogs/RegistrationData.h"

#include "service/JsonDocument.h"

#include <gtest/gtest.h>

namespace {

TEST(RegistrationData, KeysInOrderAndValuesReadBackAsTyped) {
    RegistrationData data;
    data.username = "rina@kelvara.id";
    data.password = "Rahasia123";
    data.nama = "Rina \"Ina\" O'Neil";
    data.id_provinsi = "31";
    data.id_kota = "3171";
    data.id_kecamatan = "317101";
    data.id_kelurahan = "3171011001";
    data.tgl_lahir = "1990-01-01";
    data.gender = "P";
    data.nomor_identitas = "3201\\0101";
    data.jenis_identitas = "Kartu Pelajar";
    data.pekerjaan = "Guru";
    data.pendidikan = "Strata 1 ";
    data.alamat = "Jl. Melati 5\r\nRT 01 / RW 02\n\tBelakang masjid \"Al-Ikhlas\"";
    data.kota = "Jakarta Pusat";
    data.no_telepon = "081234567890";

    const JsonDocument object = JsonDocument::parse(registrationDataJson(data));
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"id_mitra", "338"},
        {"username", data.username},
        {"password", data.password},
        {"nama", data.nama},
        {"id_provinsi", data.id_provinsi},
        {"id_kota", data.id_kota},
        {"id_kecamatan", data.id_kecamatan},
        {"id_kelurahan", data.id_kelurahan},
        {"tgl_lahir", data.tgl_lahir},
        {"gender", data.gender},
        {"nomor_identitas", data.nomor_identitas},
        {"jenis_identitas", data.jenis_identitas},
        {"pekerjaan", data.pekerjaan},
        {"pendidikan", data.pendidikan},
        {"alamat", data.alamat},
        {"kota", data.kota},
        {"no_telepon", data.no_telepon},
    };
    ASSERT_EQ(object.size(), expected.size());
    auto member = object.begin();
    for (const auto &[key, value] : expected) {
        EXPECT_EQ(member.key(), key);
        ASSERT_TRUE(member->is_string()) << key;
        EXPECT_EQ(member->get<std::string>(), value) << key;
        ++member;
    }
}

} // namespace
