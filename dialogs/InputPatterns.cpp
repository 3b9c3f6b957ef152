#define PCRE2_CODE_UNIT_WIDTH 8
#include "dialogs/InputPatterns.h"

#include "dialogs/Pcre2Pattern.h"

#include <pcre2.h>

namespace {

// Local part (dot-atoms or a quoted string), optionally after a display name in angle brackets; the
// domain is host names or an address literal in square brackets.
const char *const EmailPattern =
    R"re(^((?>[a-zA-Z\d!#$%&'*+\-/=?^_`{|}~]+\x20*|"((?=[\x01-\x7f])[^"\\]|\\[\x01-\x7f])*"\x20*)*(?<angle><))?((?!\.)(?>\.?[a-zA-Z\d!#$%&'*+\-/=?^_`{|}~]+)+|"((?=[\x01-\x7f])[^"\\]|\\[\x01-\x7f])*")@(((?!-)[a-zA-Z\d\-]+(?<!-)\.)+[a-zA-Z]{2,}|\[(((?(?<!\[)\.)(25[0-5]|2[0-4]\d|[01]?\d?\d)){4}|[a-zA-Z\d\-]*[a-zA-Z\d]:((?=[\x01-\x7f])[^\\\[\]]|\\[\x01-\x7f])+)\])(?(angle)>)$)re";

const char *const PasswordPattern = R"re(^(?=.*[A-Za-z])(?=.*\d)[A-Za-z\d]{8,}$)re";

// Both are matched byte-wise on UTF-8: no byte of a non-ASCII character falls in their ASCII classes.
const Pcre2Pattern &emailPattern() {
    static const Pcre2Pattern pattern(EmailPattern, 0);
    return pattern;
}

const Pcre2Pattern &passwordPattern() {
    static const Pcre2Pattern pattern(PasswordPattern, PCRE2_CASELESS | PCRE2_MULTILINE);
    return pattern;
}

} // namespace

bool isEmailAddress(const QString &text) {
    return emailPattern().matchesWhole(text.toStdString());
}

bool isStrongPassword(const QString &text) {
    return passwordPattern().matchesWhole(text.toStdString());
}
