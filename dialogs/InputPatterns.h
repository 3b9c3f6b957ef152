#pragma once
#include <QString>

// The e-mail test of the registration and password-reset windows: the whole text must match.
bool isEmailAddress(const QString &text);
// The password test: eight or more ASCII letters and digits, at least one of each.
bool isStrongPassword(const QString &text);
