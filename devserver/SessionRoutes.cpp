#include "devserver/Database.h"
#include "devserver/Passwords.h"
#include "devserver/RouteSupport.h"
#include "devserver/Router.h"
#include "devserver/Routes.h"
#include "devserver/ServiceContext.h"
#include "devserver/Sessions.h"

#include <httplib.h>

namespace devserver {

namespace {

constexpr const char *kAppCode = "QMT3074d18";

void checkAppVersion(ServiceContext &ctx, const httplib::Request &req, httplib::Response &res) {
    auto form = requireForm(req, res);
    if (!form)
        return;
    if (fieldOf(*form, "kode") != kAppCode) {
        sendRefusal(res, "404", "Aplikasi tidak terdaftar");
        return;
    }
    switch (ctx.versionPolicy) {
    case VersionPolicy::Current:
        send(res, reply("200", "Versi aplikasi sudah yang terbaru"));
        return;
    case VersionPolicy::Update: {
        Json body = reply("300", "Update baru telah tersedia");
        body["url"] = ctx.baseUrl(req) + "/pc/update/kelvara-setup-5.exe";
        send(res, body);
        return;
    }
    case VersionPolicy::Refuse:
        sendRefusal(res, "400", "Versi aplikasi ini tidak lagi didukung, silakan pasang versi terbaru");
        return;
    }
}

void institution(ServiceContext &ctx, const httplib::Request &req, httplib::Response &res) {
    if (!requireClient(req, res))
        return;
    auto row = ctx.db.queryOne("SELECT value FROM settings WHERE key = 'mitra'");
    Json data = Json::parse(row->text(0));
    data["foto_intro"] = ctx.baseUrl(req) + "/prod/img/banner/" + data.value("foto_intro", "");
    Json body = reply("200", "OK");
    body["data"] = data;
    send(res, body);
}

void login(ServiceContext &ctx, const httplib::Request &req, httplib::Response &res) {
    if (!requireClient(req, res))
        return;
    auto form = requireForm(req, res);
    if (!form)
        return;
    const std::string user = fieldOf(*form, "user"), pass = fieldOf(*form, "pass");
    std::string uuid = fieldOf(*form, "uuid");
    if (uuid.empty())
        uuid = req.get_header_value("UUID");
    if (user.empty() || pass.empty() || uuid.empty()) {
        sendRefusal(res, "400", "Username, password dan perangkat wajib diisi");
        return;
    }
    auto member =
        ctx.db.queryOne("SELECT id_user, username, nama, level, tgl_berakhir, photo, salt, password_hash "
                        "FROM members WHERE username = ?",
                        {user});
    if (!member || !verifyPassword(pass, {member->text(6), member->text(7)})) {
        sendRefusal(res, "401", "Username atau Password Salah");
        return;
    }
    const std::string token = openSession(ctx.db, member->integer(0), uuid);
    Json body = reply("200", "Login Berhasil");
    body["data"] = {{"id_user", member->text(0)},
                    {"username", member->text(1)},
                    {"nama", member->text(2)},
                    {"level", member->text(3)},
                    {"tgl_berakhir", member->text(4)},
                    {"token", token},
                    {"photo", ctx.baseUrl(req) + "/prod/img/photo/" + member->text(5)}};
    send(res, body);
}

void logout(ServiceContext &ctx, const httplib::Request &req, httplib::Response &res) {
    auto session = requireSession(ctx.db, req, res);
    if (!session)
        return;
    auto form = requireForm(req, res);
    if (!form)
        return;
    if (fieldOf(*form, "id_user") != std::to_string(session->userId)) {
        sendRefusal(res, "400", "Pengguna tidak sesuai dengan sesi");
        return;
    }
    endSession(ctx.db, session->token);
    send(res, reply("200", "Logout Berhasil"));
}

void forgotPassword(ServiceContext &ctx, const httplib::Request &req, httplib::Response &res) {
    if (!requireClient(req, res))
        return;
    auto form = requireForm(req, res);
    if (!form)
        return;
    const std::string username = fieldOf(*form, "username");
    if (username.empty()) {
        sendRefusal(res, "400", "E-mail wajib diisi");
        return;
    }
    auto member = ctx.db.queryOne("SELECT username, nama FROM members WHERE username = ?", {username});
    if (!member) {
        sendRefusal(res, "404", "E-mail tidak terdaftar");
        return;
    }
    const std::string link = ctx.baseUrl(req) + "/reset/" + randomHex(16);
    ctx.db.run("INSERT INTO outbox (recipient, subject, body) VALUES (?, ?, ?)",
               {member->text(0), std::string("Reset Kata Sandi"),
                "Halo " + member->text(1) + ",\nbuka tautan berikut untuk membuat kata sandi baru: " + link});
    send(res, reply("200", "Silahkan cek e-mail anda untuk langkah selanjutnya"));
}

} // namespace

void addSessionRoutes(Router &router, ServiceContext &ctx) {
    using namespace std::placeholders;
    router.post("/api/wl/checkAppVersion", std::bind(checkAppVersion, std::ref(ctx), _1, _2));
    router.get("/api/wl/mitra", std::bind(institution, std::ref(ctx), _1, _2));
    router.post("/api/wl/executeLogin", std::bind(login, std::ref(ctx), _1, _2));
    router.post("/api/wl/executeLogout", std::bind(logout, std::ref(ctx), _1, _2));
    router.post("/api/wl/forgotPassword", std::bind(forgotPassword, std::ref(ctx), _1, _2));
}

} // namespace devserver
