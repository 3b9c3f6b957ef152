#include "service/ConnectionPool.h"

#include <map>
#include <memory>
#include <stdexcept>

namespace {

// More handles than calls ever run at once only hold connections no call will take.
constexpr std::size_t kMostIdleHandles = 4;

} // namespace

ConnectionPool &ConnectionPool::forCaFile(const std::string &extraPemFile) {
    static std::mutex poolsLock;
    static std::map<std::string, std::unique_ptr<ConnectionPool>> pools;
    std::lock_guard guard(poolsLock);
    std::unique_ptr<ConnectionPool> &pool = pools[extraPemFile];
    if (!pool) {
        try {
            pool = std::make_unique<ConnectionPool>(extraPemFile);
        } catch (...) {
            pools.erase(extraPemFile); // a file that appears later is read then
            throw;
        }
    }
    return *pool;
}

ConnectionPool::ConnectionPool(const std::string &extraPemFile)
    : trust(extraPemFile), shared(curl_share_init()) {
    if (!shared)
        throw std::runtime_error("Cannot create an HTTP client");
    curl_share_setopt(shared.get(), CURLSHOPT_LOCKFUNC, lockShared);
    curl_share_setopt(shared.get(), CURLSHOPT_UNLOCKFUNC, unlockShared);
    curl_share_setopt(shared.get(), CURLSHOPT_USERDATA, this);
    // Connections themselves are not shared: libcurl does not support that between threads.
    curl_share_setopt(shared.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    curl_share_setopt(shared.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
}

void ConnectionPool::lockShared(CURL *, curl_lock_data data, curl_lock_access, void *pool) {
    static_cast<ConnectionPool *>(pool)->sharedLocks[data].lock();
}

void ConnectionPool::unlockShared(CURL *, curl_lock_data data, void *pool) {
    static_cast<ConnectionPool *>(pool)->sharedLocks[data].unlock();
}

ConnectionPool::Lease ConnectionPool::take() {
    CurlEasy handle;
    {
        std::lock_guard guard(idleLock);
        if (!idle.empty()) {
            handle = std::move(idle.back());
            idle.pop_back();
        }
    }
    if (!handle) {
        handle = newCurlHandle();
        if (!handle)
            throw std::runtime_error("Cannot create an HTTP client");
        curl_easy_setopt(handle.get(), CURLOPT_SHARE, shared.get()); // kept through every reset
    }
    return Lease(*this, std::move(handle));
}

void ConnectionPool::giveBack(CurlEasy handle) {
    // Back to every option's default; the connections, TLS sessions and DNS answers stay.
    curl_easy_reset(handle.get());
    CurlEasy evicted; // the one idle longest, closed after the lock is let go
    std::lock_guard guard(idleLock);
    idle.push_back(std::move(handle));
    if (idle.size() > kMostIdleHandles) {
        evicted = std::move(idle.front());
        idle.erase(idle.begin());
    }
}

ConnectionPool::Lease::~Lease() {
    if (keep && handle)
        pool.giveBack(std::move(handle));
}
