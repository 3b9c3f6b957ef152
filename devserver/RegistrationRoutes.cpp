#include "devserver/Database.h"
#include "devserver/Passwords.h"
#include "devserver/Registration.h"
#include "devserver/RouteSupport.h"
#include "devserver/Router.h"
#include "devserver/Routes.h"
#include "devserver/ServiceContext.h"
#include "devserver/Sessions.h"

#include <fstream>
#include <httplib.h>

namespace devserver {

namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot store " + path.string());
}

void registerMember(ServiceContext &ctx, const httplib::Request &req, httplib::Response &res) {
    if (!requireClient(req, res))
        return;
    if (!req.is_multipart_form_data() || !req.has_file("data")) {
        sendRefusal(res, "400", "Format permintaan tidak valid");
        return;
    }
    RegistrationForm form;
    const std::string problem = readRegistration(
        req.get_file_value("data").content,
        req.has_file("foto_identitas") ? req.get_file_value("foto_identitas") : httplib::MultipartFormData{},
        req.has_file("photo") ? req.get_file_value("photo") : httplib::MultipartFormData{}, ctx.db, form);
    if (!problem.empty()) {
        sendRefusal(res, "400", problem);
        return;
    }
    const PasswordHash hash = hashPassword(form.password);
    Database::Transaction transaction(ctx.db);
    if (ctx.db.queryOne("SELECT 1 FROM members WHERE username = ?", {form.username})) {
        sendRefusal(res, "400", "E-mail sudah terdaftar");
        return;
    }
    const std::int64_t id =
        ctx.db
            .queryOne("INSERT INTO members (username, salt, password_hash, nama, level, tgl_berakhir, photo, "
                      "details) "
                      "VALUES (?, ?, ?, ?, '1', date('now', '+1 year'), '', ?) RETURNING id_user",
                      {form.username, hash.salt, hash.hash, form.nama, form.details.dump()})
            ->integer(0);
    const std::string photo = "member-" + std::to_string(id) + form.photoExtension;
    const std::string identity = "identitas-" + std::to_string(id) + form.identityExtension;
    writeFile(ctx.publicDir / "prod" / "img" / "photo" / photo, form.photo);
    writeFile(ctx.uploadDir / identity, form.identity);
    ctx.db.run("UPDATE members SET photo = ?, foto_identitas = ? WHERE id_user = ?", {photo, identity, id});
    ctx.db.run("INSERT INTO outbox (recipient, subject, body) VALUES (?, ?, ?)",
               {form.username, std::string("Verifikasi Pendaftaran"),
                "Halo " + form.nama + ",\nterima kasih telah mendaftar. Akun Anda sudah aktif."});
    transaction.commit();
    send(res, reply("200", "Pendaftaran Berhasil"));
}

void regions(ServiceContext &ctx, const char *level, const std::string &parent, httplib::Response &res) {
    std::vector<SqlRow> rows =
        parent.empty()
            ? ctx.db.query("SELECT id, nama FROM regions WHERE level = ? ORDER BY nama", {std::string(level)})
            : ctx.db.query("SELECT id, nama FROM regions WHERE level = ? AND parent = ? ORDER BY nama",
                           {std::string(level), parent});
    if (rows.empty()) {
        sendRefusal(res, "404", "Data wilayah tidak ditemukan");
        return;
    }
    Json data = Json::array();
    for (const SqlRow &row : rows)
        data.push_back({{"id", row.text(0)}, {"nama", row.text(1)}});
    Json body = reply("200", "OK");
    body["data"] = data;
    send(res, body);
}

} // namespace

void addRegistrationRoutes(Router &router, ServiceContext &ctx) {
    router.post("/api/wl/executeRegistration", [&ctx](const httplib::Request &req, httplib::Response &res) {
        registerMember(ctx, req, res);
    });
    router.get("/api/generic/provinsi", [&ctx](const httplib::Request &, httplib::Response &res) {
        regions(ctx, "provinsi", "", res);
    });
    for (const char *level : {"kota", "kecamatan", "kelurahan"})
        router.get(std::string("/api/generic/") + level + "/([0-9]+)",
                   [&ctx, level](const httplib::Request &req, httplib::Response &res) {
                       regions(ctx, level, req.matches[1], res);
                   });
}

} // namespace devserver
