#include "pages/AppCall.h"

#include "web/HtmlText.h"

AppCallArg textArg(std::string_view text) {
    return {"'" + htmlEncode(scriptStringBody(text)) + "'"};
}

AppCallArg numberArg(long long number) {
    return {std::to_string(number)};
}

std::string appCall(std::string_view function, std::initializer_list<AppCallArg> args) {
    std::string call = "app.";
    call += function;
    call += '(';
    bool first = true;
    for (const AppCallArg &arg : args) {
        if (!first)
            call += ',';
        call += arg.written;
        first = false;
    }
    call += ')';
    return call;
}
