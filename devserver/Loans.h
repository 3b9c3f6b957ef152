#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace devserver {

class Database;

// Ends an open loan: the copy goes back to stock and, when given, the last page read is kept for
// the next loan. Call inside a transaction. Returns false when the loan was not open.
bool endLoan(Database &db, std::int64_t loanId, const std::string &reason,
             std::optional<std::int64_t> lastPage);

} // namespace devserver
