#define PCRE2_CODE_UNIT_WIDTH 8
#include "dialogs/Pcre2Pattern.h"

#include <pcre2.h>
#include <stdexcept>

void Pcre2Pattern::Free::operator()(pcre2_real_code_8 *compiled) const {
    pcre2_code_free(compiled);
}

Pcre2Pattern::Pcre2Pattern(const std::string &pattern, std::uint32_t options) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    code.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &error,
                             &offset, nullptr));
    if (!code) {
        PCRE2_UCHAR message[256];
        pcre2_get_error_message(error, message, sizeof message);
        throw std::invalid_argument(std::string(reinterpret_cast<const char *>(message)) + " at " +
                                    std::to_string(offset));
    }
}

bool Pcre2Pattern::matchesWhole(const std::string &subject) const {
    std::unique_ptr<pcre2_match_data, decltype(&pcre2_match_data_free)> data(
        pcre2_match_data_create_from_pattern(code.get(), nullptr), &pcre2_match_data_free);
    if (!data)
        throw std::bad_alloc();
    // Anchored at both ends: a line break cannot let a part of the text stand for the whole.
    const int result = pcre2_match(code.get(), reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(),
                                   0, PCRE2_ANCHORED | PCRE2_ENDANCHORED, data.get(), nullptr);
    return result >= 0;
}
