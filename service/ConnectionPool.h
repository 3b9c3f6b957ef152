#pragma once
#include "service/CurlHandles.h"
#include "service/TrustStore.h"

#include <array>
#include <mutex>
#include <string>
#include <vector>

// Keeps libcurl handles between calls, so that a call goes out on the connection an earlier call
// left open (no new TCP and TLS handshakes) and a new connection resumes an earlier TLS session and
// reuses the DNS answer. One pool per trust configuration: a connection or TLS session checked
// against one set of certificates never serves a call that asks for another.
//
// A handle serves one call at a time on whichever thread took it; its connections stay with it. A
// connection the server has closed since is replaced by libcurl before or during the next call.
class ConnectionPool {
public:
    // The pool of calls that trust the system's store plus `extraPemFile` ("" for none), made on first
    // use and kept for the life of the program. Throws when the file cannot be read.
    static ConnectionPool &forCaFile(const std::string &extraPemFile);

    // A handle taken from the pool for one call: every option at its default, the shared TLS session
    // and DNS caches attached. Given back when it goes, unless `discard()` was called.
    class Lease {
    public:
        Lease(ConnectionPool &pool, CurlEasy handle) : pool(pool), handle(std::move(handle)) {}
        ~Lease();
        Lease(const Lease &) = delete;
        Lease &operator=(const Lease &) = delete;

        CURL *get() const { return handle.get(); }
        // The handle holds state no other call may see (cookies): it is closed instead of kept.
        void discard() { keep = false; }

    private:
        ConnectionPool &pool;
        CurlEasy handle;
        bool keep = true;
    };

    Lease take();
    const TrustStore &trustStore() const { return trust; }

    explicit ConnectionPool(const std::string &extraPemFile);
    ConnectionPool(const ConnectionPool &) = delete;
    ConnectionPool &operator=(const ConnectionPool &) = delete;

private:
    void giveBack(CurlEasy handle);
    static void lockShared(CURL *, curl_lock_data data, curl_lock_access, void *pool);
    static void unlockShared(CURL *, curl_lock_data data, void *pool);

    // Declared in the order they may be released in reverse: the idle handles detach from the share,
    // whose locks they use, before it goes.
    const TrustStore trust;
    std::array<std::mutex, CURL_LOCK_DATA_LAST> sharedLocks;
    CurlShare shared;
    std::mutex idleLock;
    std::vector<CurlEasy> idle; // the most recently used last: its connection is the likeliest alive
};
