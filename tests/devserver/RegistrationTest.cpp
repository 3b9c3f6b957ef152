// Region cascade, member registration with pictures, and the new member's first login.
#include "ServiceHarness.h"

#include "devserver/Database.h"

#include <gtest/gtest.h>
#include <set>

using namespace devserver;
using namespace devserver::testing;

namespace {

const std::string kPng("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
const std::string kJpeg("\xFF\xD8\xFF\xE0\0\x10JFIF", 10);

// Walks the cascade from the first province down to a village.
Json pickRegions(ServiceClient &client) {
    Json chosen;
    std::string path = "/api/generic/provinsi";
    for (const char *level : {"provinsi", "kota", "kecamatan", "kelurahan"}) {
        Reply reply = client.get(path);
        EXPECT_EQ(reply.code(), "200") << path;
        const Json &first = reply.json["data"][0];
        chosen[level] = first;
        const std::string next = std::string(level) == "provinsi" ? "kota"
                                 : std::string(level) == "kota"   ? "kecamatan"
                                                                  : "kelurahan";
        path = "/api/generic/" + next + "/" + first["id"].get<std::string>();
    }
    return chosen;
}

Json memberData(ServiceClient &client, const std::string &email) {
    Json r = pickRegions(client);
    return {{"id_mitra", "338"},
            {"username", email},
            {"password", "Rahasia123"},
            {"nama", "Rina O'Neil"},
            {"id_provinsi", r["provinsi"]["id"]},
            {"id_kota", r["kota"]["id"]},
            {"id_kecamatan", r["kecamatan"]["id"]},
            {"id_kelurahan", r["kelurahan"]["id"]},
            {"tgl_lahir", "1990-01-01"},
            {"gender", "P"},
            {"nomor_identitas", "3201010101900001"},
            {"jenis_identitas", "KTP"},
            {"pekerjaan", "Guru"},
            {"pendidikan", "Strata 1 "},
            {"alamat", "Jl. Melati 5\r\nRT 01 / RW 02"},
            {"kota", r["kota"]["nama"]},
            {"no_telepon", "081234567890"}};
}

httplib::MultipartFormDataItems parts(const std::string &data, const std::string &identity = kPng,
                                      const std::string &photo = kJpeg) {
    return {{"data", data, "", "application/json; charset=utf-8"},
            {"foto_identitas", identity, "ktp.png", "image/png"},
            {"photo", photo, "saya.jpg", "image/jpeg"}};
}

const httplib::Headers kRegistrationHeaders = {{"CLIENTID", "338"}, {"OS", "WIN"}};

} // namespace

TEST(DevServerRegistration, RegionLevelsNarrowDownWithUniqueNames) {
    ServiceClient client(sharedService());
    std::string path = "/api/generic/provinsi";
    for (const char *next : {"kota", "kecamatan", "kelurahan", ""}) {
        Reply reply = client.get(path);
        ASSERT_EQ(reply.code(), "200") << path;
        ASSERT_FALSE(reply.json["data"].empty());
        std::set<std::string> names;
        for (const Json &place : reply.json["data"]) {
            EXPECT_FALSE(place["id"].get<std::string>().empty());
            EXPECT_TRUE(names.insert(place["nama"].get<std::string>()).second) << place.dump();
        }
        if (*next)
            path = std::string("/api/generic/") + next + "/" + reply.json["data"][0]["id"].get<std::string>();
    }
    EXPECT_NE(client.get("/api/generic/kota/999").code(), "200");
}

TEST(DevServerRegistration, ANewMemberCanLogInAndHisPicturesAreStored) {
    RunningService &service = sharedService();
    ServiceClient client(service);
    const std::string email = "rina.baru@kelvara.test";
    Reply reply = client.postMultipart("/api/wl/executeRegistration", parts(memberData(client, email).dump()),
                                       kRegistrationHeaders);
    ASSERT_EQ(reply.code(), "200") << reply.body;

    httplib::Headers session = client.login(email, "Rahasia123", "4E3B0001");
    ASSERT_FALSE(session.empty());
    auto row = service.server().database().queryOne(
        "SELECT nama, photo, foto_identitas, details, password_hash FROM members WHERE username = ?",
        {email});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->text(0), "Rina O'Neil");
    EXPECT_EQ(client.get("/prod/img/photo/" + row->text(1)).body, kJpeg);
    EXPECT_TRUE(std::filesystem::exists(service.dir() / "uploads" / row->text(2)));
    EXPECT_EQ(row->text(3).find("Rahasia123"), std::string::npos);
    EXPECT_NE(row->text(4), "Rahasia123");
    EXPECT_EQ(Json::parse(row->text(3))["alamat"], "Jl. Melati 5\r\nRT 01 / RW 02");

    Reply twice = client.postMultipart("/api/wl/executeRegistration", parts(memberData(client, email).dump()),
                                       kRegistrationHeaders);
    EXPECT_NE(twice.code(), "200");
}

TEST(DevServerRegistration, InvalidRegistrationsAreRefusedWithAReason) {
    ServiceClient client(sharedService());
    const Json good = memberData(client, "another@kelvara.test");
    auto changed = [&](const std::string &key, const Json &value) {
        Json d = good;
        if (value.is_null())
            d.erase(key);
        else
            d[key] = value;
        return d.dump();
    };
    struct Case {
        std::string name;
        httplib::MultipartFormDataItems items;
    };
    const Case cases[] = {
        {"missing name", parts(changed("nama", nullptr))},
        {"empty address", parts(changed("alamat", ""))},
        {"bad e-mail", parts(changed("username", "not-an-email"))},
        {"weak password", parts(changed("password", "abcdefgh"))},
        {"bad date", parts(changed("tgl_lahir", "1990-13-45"))},
        {"bad gender", parts(changed("gender", "X"))},
        {"letters in phone", parts(changed("no_telepon", "0812abc"))},
        {"village of another district", parts(changed("id_kelurahan", "3301011001"))},
        {"other tenant", parts(changed("id_mitra", "339"))},
        {"number instead of text", parts(changed("nama", 42))},
        {"data not JSON", parts("{nama: ")},
        {"photo not a picture", parts(good.dump(), kPng, "<?php echo 1; ?>")},
        {"photo over 5 MB", parts(good.dump(), kPng, kJpeg + std::string(6 * 1024 * 1024, '\0'))},
        {"identity missing",
         {{"data", good.dump(), "", "application/json"}, {"photo", kJpeg, "a.jpg", "image/jpeg"}}},
    };
    for (const Case &c : cases) {
        Reply reply = client.postMultipart("/api/wl/executeRegistration", c.items, kRegistrationHeaders);
        EXPECT_NE(reply.code(), "200") << c.name;
        EXPECT_FALSE(reply.msg().empty()) << c.name;
    }
    EXPECT_TRUE(client.login("another@kelvara.test", "Rahasia123", "4E3B0002").empty());
    EXPECT_NE(
        client.postForm("/api/wl/executeRegistration", {{"data", good.dump()}}, kRegistrationHeaders).code(),
        "200");
}
