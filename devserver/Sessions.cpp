#include "devserver/Sessions.h"

#include "devserver/Database.h"
#include "devserver/Loans.h"
#include "devserver/Passwords.h"
#include "devserver/Replies.h"

#include <httplib.h>

namespace devserver {

bool requireClient(const httplib::Request &req, httplib::Response &res) {
    if (req.get_header_value("CLIENTID") == kClientId)
        return true;
    sendRefusal(res, "403", "Klien tidak dikenal");
    return false;
}

std::optional<Session> requireSession(Database &db, const httplib::Request &req, httplib::Response &res) {
    const std::string token = req.get_header_value("KEY");
    const std::string userHeader = req.get_header_value("USERID");
    if (req.get_header_value("CLIENTID") == kClientId && !token.empty()) {
        auto row = db.queryOne("SELECT id_user FROM sessions WHERE token = ? AND uuid = ? AND ended IS NULL",
                               {token, req.get_header_value("UUID")});
        if (row && (userHeader.empty() || userHeader == row->text(0)))
            return Session{row->integer(0), token};
    }
    sendRefusal(res, "500", kAuthFailed);
    return std::nullopt;
}

std::string openSession(Database &db, std::int64_t userId, const std::string &uuid) {
    const std::string token = randomHex(20);
    Database::Transaction transaction(db);
    db.run("UPDATE sessions SET ended = datetime('now') WHERE id_user = ? AND ended IS NULL", {userId});
    for (const SqlRow &loan :
         db.query("SELECT id_baca FROM loans WHERE id_user = ? AND ended IS NULL", {userId}))
        endLoan(db, loan.integer(0), "session_replaced", std::nullopt);
    db.run("INSERT INTO sessions (token, id_user, uuid) VALUES (?, ?, ?)", {token, userId, uuid});
    transaction.commit();
    return token;
}

void endSession(Database &db, const std::string &token) {
    db.run("UPDATE sessions SET ended = datetime('now') WHERE token = ? AND ended IS NULL", {token});
}

} // namespace devserver
