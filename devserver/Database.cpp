#include "devserver/Database.h"

#include <sqlite3.h>

namespace devserver {

namespace {

struct StatementCloser {
    void operator()(sqlite3_stmt *stmt) const { sqlite3_finalize(stmt); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

void bindValue(sqlite3_stmt *stmt, int index, const SqlValue &value) {
    std::visit(
        [&](const auto &v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::nullptr_t>)
                sqlite3_bind_null(stmt, index);
            else if constexpr (std::is_same_v<T, std::int64_t>)
                sqlite3_bind_int64(stmt, index, v);
            else if constexpr (std::is_same_v<T, double>)
                sqlite3_bind_double(stmt, index, v);
            else
                sqlite3_bind_text(stmt, index, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        },
        value);
}

SqlValue columnValue(sqlite3_stmt *stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return static_cast<std::int64_t>(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, column);
    case SQLITE_NULL:
        return nullptr;
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
        return std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
    }
    }
}

} // namespace

std::string SqlRow::text(std::size_t i) const {
    const SqlValue &v = values.at(i);
    if (const auto *s = std::get_if<std::string>(&v))
        return *s;
    if (const auto *n = std::get_if<std::int64_t>(&v))
        return std::to_string(*n);
    if (const auto *d = std::get_if<double>(&v))
        return std::to_string(*d);
    return {};
}

std::int64_t SqlRow::integer(std::size_t i) const {
    const SqlValue &v = values.at(i);
    if (const auto *n = std::get_if<std::int64_t>(&v))
        return *n;
    if (const auto *d = std::get_if<double>(&v))
        return static_cast<std::int64_t>(*d);
    if (const auto *s = std::get_if<std::string>(&v))
        return std::stoll(*s);
    return 0;
}

double SqlRow::real(std::size_t i) const {
    const SqlValue &v = values.at(i);
    if (const auto *d = std::get_if<double>(&v))
        return *d;
    return static_cast<double>(integer(i));
}

Database::Database(const std::string &path) {
    if (sqlite3_open_v2(path.c_str(), &handle,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        std::string message = handle ? sqlite3_errmsg(handle) : "out of memory";
        sqlite3_close(handle);
        throw DatabaseError("cannot open " + path + ": " + message);
    }
    sqlite3_busy_timeout(handle, 5000);
    exec("PRAGMA journal_mode=WAL; PRAGMA foreign_keys=ON; PRAGMA synchronous=NORMAL;");
}

Database::~Database() {
    sqlite3_close(handle);
}

void Database::fail(const std::string &what) {
    throw DatabaseError(what + ": " + sqlite3_errmsg(handle));
}

void Database::exec(const std::string &sql) {
    std::lock_guard guard(mutex);
    char *error = nullptr;
    if (sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw DatabaseError(message);
    }
}

std::vector<SqlRow> Database::execute(const std::string &sql, const std::vector<SqlValue> &params) {
    std::lock_guard guard(mutex);
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(handle, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK)
        fail("prepare");
    Statement stmt(raw);
    for (std::size_t i = 0; i < params.size(); ++i)
        bindValue(raw, static_cast<int>(i + 1), params[i]);
    std::vector<SqlRow> rows;
    for (;;) {
        int rc = sqlite3_step(raw);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            fail("step");
        SqlRow row;
        int columns = sqlite3_column_count(raw);
        row.values.reserve(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c)
            row.values.push_back(columnValue(raw, c));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<SqlRow> Database::query(const std::string &sql, const std::vector<SqlValue> &params) {
    return execute(sql, params);
}

std::optional<SqlRow> Database::queryOne(const std::string &sql, const std::vector<SqlValue> &params) {
    auto rows = execute(sql, params);
    if (rows.empty())
        return std::nullopt;
    return std::move(rows.front());
}

int Database::run(const std::string &sql, const std::vector<SqlValue> &params) {
    std::lock_guard guard(mutex);
    execute(sql, params);
    return sqlite3_changes(handle);
}

Database::Transaction::Transaction(Database &db) : db(db), lock(db.mutex) {
    db.exec("BEGIN IMMEDIATE");
}

Database::Transaction::~Transaction() {
    if (!done) {
        try {
            db.exec("ROLLBACK");
        } catch (const DatabaseError &) {
        }
    }
}

void Database::Transaction::commit() {
    db.exec("COMMIT");
    done = true;
}

} // namespace devserver
