#include "devserver/Loans.h"

#include "devserver/Database.h"

namespace devserver {

bool endLoan(Database &db, std::int64_t loanId, const std::string &reason,
             std::optional<std::int64_t> lastPage) {
    auto loan =
        db.queryOne("SELECT id_user, book_id FROM loans WHERE id_baca = ? AND ended IS NULL", {loanId});
    if (!loan)
        return false;
    db.run("UPDATE loans SET ended = datetime('now'), end_reason = ?, page_index = ? WHERE id_baca = ?",
           {reason, lastPage ? SqlValue(*lastPage) : SqlValue(nullptr), loanId});
    db.run("UPDATE books SET stok = stok + 1 WHERE id = ?", {loan->text(1)});
    if (lastPage)
        db.run("INSERT INTO reading_progress VALUES (?, ?, ?) "
               "ON CONFLICT (id_user, book_id) DO UPDATE SET page_index = excluded.page_index",
               {loan->integer(0), loan->text(1), *lastPage});
    return true;
}

} // namespace devserver
