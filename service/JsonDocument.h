#pragma once
#include <atomic>
#include <memory>
#include <nlohmann/json.hpp>

// Replies and annotation documents keep their keys in insertion order.
using JsonDocument = nlohmann::ordered_json;
using JsonPtr = std::shared_ptr<const JsonDocument>;

// A reply field of the service client. A task stores a new document on its pool thread while
// the UI thread may still read the previous one: the swap is atomic and a reader keeps the
// document it loaded alive for as long as it holds the pointer.
class ReplyField {
public:
    JsonPtr load() const { return doc.load(); }
    void store(JsonPtr next) { doc.store(std::move(next)); }
    void reset() { doc.store(nullptr); }
    explicit operator bool() const { return doc.load() != nullptr; }

private:
    std::atomic<JsonPtr> doc;
};
