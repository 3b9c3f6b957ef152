#pragma once
#include <mutex>
#include <string>
#include <string_view>

// A session value of the service client. The login completion writes the session on the UI thread
// while requests on pool threads read it, so every access goes through one lock shared by all
// session values; a reader always gets a whole value, never a half-written one.
class SessionString {
public:
    SessionString() = default;
    SessionString(const SessionString &) = delete;
    SessionString &operator=(const SessionString &) = delete;

    SessionString &operator=(std::string next) {
        std::lock_guard lock(mutex());
        value = std::move(next);
        return *this;
    }
    SessionString &operator=(const char *next) { return *this = std::string(next); }

    std::string str() const {
        std::lock_guard lock(mutex());
        return value;
    }
    operator std::string() const { return str(); }
    bool empty() const { return str().empty(); }
    friend bool operator==(const SessionString &a, std::string_view b) { return a.str() == b; }

    // Held while several values must be read or written as one consistent set.
    static std::mutex &mutex() {
        static std::mutex lock;
        return lock;
    }
    // The value without locking; only while holding mutex().
    const std::string &unlockedValue() const { return value; }
    void setUnlocked(std::string next) { value = std::move(next); }

private:
    std::string value;
};

// The seven session values of one login, as the login reply's "data" gives them.
struct SessionValues {
    std::string name;        // "nama"
    std::string username;    // "username"
    std::string userLevel;   // "level"
    std::string lastDate;    // "tgl_berakhir"
    std::string token;       // "token"
    std::string profilePict; // "photo"
    std::string userId;      // "id_user"

    bool operator==(const SessionValues &) const = default;
};
