#include "service/TransferCancel.h"

#include <atomic>

namespace {
std::atomic<int> cancellers{0}; // a count, so that nested scopes do not clear each other's flag
}

CancelTransfers::CancelTransfers() {
    ++cancellers;
}

CancelTransfers::~CancelTransfers() {
    --cancellers;
}

bool transfersCancelled() {
    return cancellers.load() > 0;
}
