#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

// One argument of a call of the pages' script object `app`, as written inside an onClick attribute.
struct AppCallArg {
    std::string written;
};

// A text argument between single quotes. The text is escaped for the script string and then for
// the attribute, so the called function receives it unchanged whatever characters it holds.
AppCallArg textArg(std::string_view text);
// A whole-number argument, written as decimal digits without quotes.
AppCallArg numberArg(long long number);

// "app." + function + "(" + the arguments separated by "," + ")".
std::string appCall(std::string_view function, std::initializer_list<AppCallArg> args = {});
