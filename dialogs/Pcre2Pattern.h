#pragma once
#include <cstdint>
#include <memory>
#include <string>

struct pcre2_real_code_8;

// A compiled PCRE2 pattern (8-bit code units, matched against UTF-8 bytes).
class Pcre2Pattern {
public:
    // Compiles `pattern` with PCRE2 compile `options`; throws std::invalid_argument when it does not compile.
    Pcre2Pattern(const std::string &pattern, std::uint32_t options);
    // True when the pattern matches `subject` from its first to its last byte.
    bool matchesWhole(const std::string &subject) const;

private:
    struct Free {
        void operator()(pcre2_real_code_8 *code) const;
    };
    std::unique_ptr<pcre2_real_code_8, Free> code;
};
