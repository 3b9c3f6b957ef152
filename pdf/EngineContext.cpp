#include "pdf/EngineContext.h"

#include <mupdf/fitz.h>

#include <array>
#include <atomic>
#include <mutex>
#include <stdexcept>

namespace {

std::array<std::mutex, FZ_LOCK_MAX> &engineLocks() {
    // Never destroyed: contexts of threads that end late still lock through it.
    static auto *locks = new std::array<std::mutex, FZ_LOCK_MAX>;
    return *locks;
}

void lock(void *, int index) {
    engineLocks()[index].lock();
}
void unlock(void *, int index) {
    engineLocks()[index].unlock();
}

void quiet(void *, const char *) {}

std::mutex startLock;
fz_context *baseContext = nullptr;
std::atomic<unsigned> generation{0};

struct ThreadContext {
    fz_context *ctx = nullptr;
    unsigned generation = 0;
    bool own = false; // a context of the thread's own rather than a clone of the base
    ~ThreadContext() { fz_drop_context(ctx); }
};

thread_local ThreadContext local;

} // namespace

void startEngineContext() {
    std::lock_guard guard(startLock);
    if (baseContext)
        return;
    static const fz_locks_context locks{nullptr, lock, unlock};
    baseContext = fz_new_context(nullptr, &locks, FZ_STORE_DEFAULT);
    if (!baseContext)
        throw std::runtime_error("The PDF engine could not be started");
    fz_set_warning_callback(baseContext, quiet, nullptr);
    fz_set_error_callback(baseContext, quiet, nullptr);
    ++generation;
}

void stopEngineContext() {
    std::lock_guard guard(startLock);
    fz_drop_context(baseContext);
    baseContext = nullptr;
    ++generation;
}

fz_context *engineContext() {
    if (local.ctx && (local.own || local.generation == generation))
        return local.ctx;
    std::lock_guard guard(startLock);
    if (!baseContext)
        throw std::runtime_error("pdfium.dll is not loaded");
    fz_drop_context(local.ctx);
    local.ctx = fz_clone_context(baseContext);
    if (!local.ctx)
        throw std::runtime_error("pdfium.dll is not loaded");
    local.generation = generation;
    return local.ctx;
}

void useOwnEngineContext(std::size_t storeBytes) {
    fz_context *ctx = fz_new_context(nullptr, nullptr, storeBytes);
    if (!ctx)
        throw std::runtime_error("The PDF engine could not be started");
    fz_set_warning_callback(ctx, quiet, nullptr);
    fz_set_error_callback(ctx, quiet, nullptr);
    fz_drop_context(local.ctx);
    local.ctx = ctx;
    local.own = true;
}
