#pragma once
#include <atomic>
#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string_view>

// Replies and annotation documents keep their keys in insertion order.
using JsonDocument = nlohmann::ordered_json;
using JsonPtr = std::shared_ptr<const JsonDocument>;

// Replies and documents nest a few levels; one nested far deeper is refused when read, since writing it
// out again would recurse once per level.
constexpr int DeepestJsonNesting = 256;

// Parses JSON text from outside. Throws nlohmann's parse_error for text that is no JSON, and
// std::runtime_error for a document nested deeper than DeepestJsonNesting.
inline JsonDocument parseOutsideJson(std::string_view text) {
    return JsonDocument::parse(text, [](int depth, JsonDocument::parse_event_t, const JsonDocument &) {
        if (depth > DeepestJsonNesting)
            throw std::runtime_error("The document is nested too deeply");
        return true;
    });
}

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
