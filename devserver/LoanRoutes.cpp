#include "devserver/Database.h"
#include "devserver/Loans.h"
#include "devserver/RouteSupport.h"
#include "devserver/Router.h"
#include "devserver/Routes.h"
#include "devserver/ServiceContext.h"
#include "devserver/Sessions.h"

#include <cmath>
#include <httplib.h>

namespace devserver {

namespace {

constexpr std::int64_t kMaxOpenLoans = 3;

void borrow(ServiceContext &ctx, const Session &session, const FormFields &form, const httplib::Request &req,
            httplib::Response &res) {
    const std::string bookId = fieldOf(form, "id_konten");
    Database::Transaction transaction(ctx.db);
    auto book = ctx.db.queryOne("SELECT stok, nilai_rate FROM books WHERE id = ?", {bookId});
    if (!book) {
        sendRefusal(res, "404", "Buku tidak ditemukan");
        return;
    }
    if (ctx.db.queryOne("SELECT 1 FROM loans WHERE id_user = ? AND book_id = ? AND ended IS NULL",
                        {session.userId, bookId})) {
        sendRefusal(res, "400", "Buku ini sedang Anda pinjam");
        return;
    }
    if (ctx.db.queryOne("SELECT COUNT(*) FROM loans WHERE id_user = ? AND ended IS NULL", {session.userId})
            ->integer(0) >= kMaxOpenLoans) {
        sendRefusal(res, "400", "Anda melebihi batas baca sebanyak 3 Buku");
        return;
    }
    if (book->integer(0) <= 0) {
        sendRefusal(res, "400", "Stok buku sedang habis, silakan coba lagi nanti");
        return;
    }
    ctx.db.run("UPDATE books SET stok = stok - 1 WHERE id = ?", {bookId});
    const std::int64_t loanId =
        ctx.db
            .queryOne("INSERT INTO loans (id_user, book_id) VALUES (?, ?) RETURNING id_baca",
                      {session.userId, bookId})
            ->integer(0);
    auto progress =
        ctx.db.queryOne("SELECT page_index FROM reading_progress WHERE id_user = ? AND book_id = ?",
                        {session.userId, bookId});
    auto annotation = ctx.db.queryOne("SELECT id FROM annotations WHERE id_user = ? AND book_id = ? "
                                      "ORDER BY id DESC LIMIT 1",
                                      {session.userId, bookId});
    transaction.commit();

    Json body = reply("200", "OK");
    body["id_baca"] = std::to_string(loanId);
    body["page_index"] = progress ? progress->integer(0) : 0;
    body["rate"] = static_cast<std::int64_t>(std::lround(std::stod(book->text(1))));
    body["file_anotasi"] =
        annotation ? ctx.baseUrl(req) + "/api/wl/fileAnotasi/" + annotation->text(0) : std::string("0");
    send(res, body);
}

// The member's loan named by "id_baca", or a refusal.
std::optional<SqlRow> memberLoan(ServiceContext &ctx, const Session &session, const FormFields &form,
                                 httplib::Response &res) {
    auto id = parseNumber(fieldOf(form, "id_baca"), 1, INT64_MAX / 10);
    auto loan =
        id ? ctx.db.queryOne("SELECT id_baca, book_id, ended FROM loans WHERE id_baca = ? AND id_user = ?",
                             {*id, session.userId})
           : std::nullopt;
    if (!loan)
        sendRefusal(res, "404", "Peminjaman tidak ditemukan");
    return loan;
}

void giveBack(ServiceContext &ctx, const Session &session, const FormFields &form, const httplib::Request &,
              httplib::Response &res) {
    Database::Transaction transaction(ctx.db);
    auto loan = memberLoan(ctx, session, form, res);
    if (!loan)
        return;
    if (loan->text(1) != fieldOf(form, "id_konten")) {
        sendRefusal(res, "400", "Buku tidak sesuai dengan peminjaman");
        return;
    }
    auto total = ctx.db.queryOne("SELECT halaman_total FROM books WHERE id = ?", {loan->text(1)})->integer(0);
    auto page = parseNumber(fieldOf(form, "page_index"), 0, total - 1);
    if (!page) {
        sendRefusal(res, "400", "Halaman tidak valid");
        return;
    }
    if (!endLoan(ctx.db, loan->integer(0), "returned", page)) {
        sendRefusal(res, "400", "Buku sudah dikembalikan");
        return;
    }
    transaction.commit();
    send(res, reply("200", "Buku berhasil dikembalikan"));
}

void readStatus(ServiceContext &ctx, const Session &session, const FormFields &form, const httplib::Request &,
                httplib::Response &res) {
    const std::string status = fieldOf(form, "status");
    if (status != "0" && status != "1") {
        sendRefusal(res, "400", "Status tidak valid");
        return;
    }
    Database::Transaction transaction(ctx.db);
    auto loan = memberLoan(ctx, session, form, res);
    if (!loan)
        return;
    if (!loan->isNull(2)) {
        sendRefusal(res, "400", "Peminjaman sudah berakhir");
        return;
    }
    ctx.db.run("INSERT INTO read_status (id_baca, status) VALUES (?, ?)", {loan->integer(0), status});
    if (status == "0")
        endLoan(ctx.db, loan->integer(0), "idle", std::nullopt);
    transaction.commit();
    send(res, reply("200", "Status baca tersimpan"));
}

// Annotation and copied-text documents: {"id_konten": ..., "data": [...]}, for a book the member
// has borrowed at some time.
std::optional<Json> requireDocument(ServiceContext &ctx, const Session &session, const httplib::Request &req,
                                    httplib::Response &res) {
    Json doc = Json::parse(req.body, nullptr, false);
    if (doc.is_discarded() || !doc.is_object() || !doc.contains("id_konten") ||
        !doc["id_konten"].is_string() || !doc.contains("data") || !doc["data"].is_array()) {
        sendRefusal(res, "400", "Format dokumen tidak valid");
        return std::nullopt;
    }
    if (!ctx.db.queryOne("SELECT 1 FROM loans WHERE id_user = ? AND book_id = ?",
                         {session.userId, doc["id_konten"].get<std::string>()})) {
        sendRefusal(res, "404", "Buku belum pernah dipinjam");
        return std::nullopt;
    }
    return doc;
}

RouteHandler documentCall(ServiceContext &ctx,
                          void (*store)(ServiceContext &, const Session &, const Json &)) {
    return [&ctx, store](const httplib::Request &req, httplib::Response &res) {
        auto session = requireSession(ctx.db, req, res);
        if (!session)
            return;
        if (auto doc = requireDocument(ctx, *session, req, res)) {
            store(ctx, *session, *doc);
            send(res, reply("200", "Data tersimpan"));
        }
    };
}

void storeAnnotations(ServiceContext &ctx, const Session &session, const Json &doc) {
    ctx.db.run("INSERT INTO annotations (id_user, book_id, document) VALUES (?, ?, ?)",
               {session.userId, doc["id_konten"].get<std::string>(),
                doc.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)});
}

void storeCopiedTexts(ServiceContext &ctx, const Session &session, const Json &doc) {
    const std::string book = doc["id_konten"].get<std::string>();
    Database::Transaction transaction(ctx.db);
    for (const Json &entry : doc["data"]) {
        if (!entry.is_object())
            continue;
        const std::string page = entry.value("page", Json("")).is_string() ? entry.value("page", "") : "";
        const std::string text = entry.value("text", Json("")).is_string() ? entry.value("text", "") : "";
        ctx.db.run(
            "INSERT INTO copied_texts (id_user, book_id, page, text) SELECT ?1, ?2, ?3, ?4 WHERE NOT EXISTS "
            "(SELECT 1 FROM copied_texts WHERE id_user = ?1 AND book_id = ?2 AND page = ?3 AND text = ?4)",
            {session.userId, book, page, text});
    }
    transaction.commit();
}

void annotationFile(ServiceContext &ctx, const httplib::Request &req, httplib::Response &res) {
    auto session = requireSession(ctx.db, req, res);
    if (!session)
        return;
    auto id = parseNumber(req.matches[1], 1, INT64_MAX / 10);
    auto row = id ? ctx.db.queryOne("SELECT document FROM annotations WHERE id = ? AND id_user = ?",
                                    {*id, session->userId})
                  : std::nullopt;
    if (!row) {
        sendRefusal(res, "404", "Anotasi tidak ditemukan");
        return;
    }
    res.set_content(row->text(0), "application/json; charset=utf-8");
}

} // namespace

void addLoanRoutes(Router &router, ServiceContext &ctx) {
    router.post("/api/wl/requestBaca", sessionCall(ctx, borrow));
    router.post("/api/wl/bookReturn", sessionCall(ctx, giveBack));
    router.post("/api/wl/updateReadStatus", sessionCall(ctx, readStatus));
    router.post("/api/wl/saveAnotasi", documentCall(ctx, storeAnnotations));
    router.post("/api/wl/copyText", documentCall(ctx, storeCopiedTexts));
    router.get(
        R"(/api/wl/fileAnotasi/([0-9]+))",
        [&ctx](const httplib::Request &req, httplib::Response &res) { annotationFile(ctx, req, res); });
}

} // namespace devserver
