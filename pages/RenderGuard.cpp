#include "pages/RenderGuard.h"

#include "prompts/MessageBoxes.h"

#include <QString>

#include <exception>
#include <string>

void renderGuarded(std::string_view prefix, const std::function<void()> &render) {
    try {
        render();
    } catch (const std::exception &error) {
        showError(QString::fromUtf8(prefix.data(), static_cast<qsizetype>(prefix.size())) +
                  QString::fromUtf8(error.what()));
    }
}
