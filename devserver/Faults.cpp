#include "devserver/Faults.h"

#include "devserver/Database.h"

namespace devserver {

void setFault(Database &db, const std::string &path, const std::string &code, const std::string &msg) {
    db.run("INSERT OR REPLACE INTO faults (path, code, msg) VALUES (?, ?, ?)", {path, code, msg});
}

void clearFaults(Database &db) {
    db.run("DELETE FROM faults");
}

std::optional<Json> faultReply(Database &db, const std::string &path) {
    auto row = db.queryOne("SELECT code, msg FROM faults WHERE path = ?", {path});
    if (!row)
        return std::nullopt;
    return reply(row->text(0), row->text(1));
}

} // namespace devserver
