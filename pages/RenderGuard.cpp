#include "pages/RenderGuard.h"

#include <cstdio>
#include <exception>

void renderGuarded(const std::function<void(const std::string &)> &report, std::string_view prefix,
                   const std::function<void()> &render) {
    try {
        render();
    } catch (const std::exception &error) {
        const std::string text = std::string(prefix) + error.what();
        if (report)
            report(text);
        else
            std::fprintf(stderr, "%s\n", text.c_str());
    }
}
