#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace devserver {

class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A bound value or a column value: NULL, integer, real or text.
using SqlValue = std::variant<std::nullptr_t, std::int64_t, double, std::string>;

struct SqlRow {
    std::vector<SqlValue> values;

    std::string text(std::size_t i) const;
    std::int64_t integer(std::size_t i) const;
    double real(std::size_t i) const;
    bool isNull(std::size_t i) const { return std::holds_alternative<std::nullptr_t>(values.at(i)); }
};

// One SQLite connection shared by all request threads. Every statement runs under one mutex, and a
// `Transaction` holds that mutex for its whole life, so read-modify-write steps (stock, loans)
// never interleave.
class Database {
public:
    explicit Database(const std::string &path);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    void exec(const std::string &sql);
    std::vector<SqlRow> query(const std::string &sql, const std::vector<SqlValue> &params = {});
    std::optional<SqlRow> queryOne(const std::string &sql, const std::vector<SqlValue> &params = {});
    // Runs an INSERT/UPDATE/DELETE and returns the number of changed rows.
    int run(const std::string &sql, const std::vector<SqlValue> &params = {});

    class Transaction {
    public:
        explicit Transaction(Database &db);
        ~Transaction();
        void commit();
        Transaction(const Transaction &) = delete;
        Transaction &operator=(const Transaction &) = delete;

    private:
        Database &db;
        std::unique_lock<std::recursive_mutex> lock;
        bool done = false;
    };

private:
    std::vector<SqlRow> execute(const std::string &sql, const std::vector<SqlValue> &params);
    [[noreturn]] void fail(const std::string &what);

    sqlite3 *handle = nullptr;
    std::recursive_mutex mutex;
};

} // namespace devserver
