#include "tools/ReplyPrinter.h"

#include <stdexcept>
#include <utility>
#include <vector>

namespace {

// The number of nested levels of `root` (a scalar is one), walked without recursion.
std::size_t nestingDepth(const JsonDocument &root) {
    std::size_t deepest = 0;
    std::vector<std::pair<const JsonDocument *, std::size_t>> pending{{&root, 1}};
    while (!pending.empty()) {
        const auto [value, depth] = pending.back();
        pending.pop_back();
        deepest = std::max(deepest, depth);
        if (value->is_structured())
            for (const JsonDocument &child : *value)
                pending.emplace_back(&child, depth + 1);
    }
    return deepest;
}

} // namespace

void printReply(std::FILE *out, const JsonDocument &reply) {
    if (nestingDepth(reply) > maxPrintedDepth)
        throw std::runtime_error("reply nested deeper than " + std::to_string(maxPrintedDepth) +
                                 " levels: not printed");
    std::fprintf(out, "%s\n", reply.dump(2).c_str());
}
