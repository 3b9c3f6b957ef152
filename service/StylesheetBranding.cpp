#include "service/StylesheetBranding.h"

#include "service/ReplyEnvelope.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace {

bool containsIgnoringCase(const std::string &line, const std::string &needle) {
    const auto found =
        std::search(line.begin(), line.end(), needle.begin(), needle.end(), [](char a, char b) {
            return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
        });
    return found != line.end();
}

void replaceAll(std::string &line, const std::string &placeholder, const std::string &value) {
    for (size_t at = line.find(placeholder); at != std::string::npos;
         at = line.find(placeholder, at + value.size()))
        line.replace(at, placeholder.size(), value);
}

void brandLine(std::string &line, const std::string &button, const std::string &hover) {
    static const std::string buttonPlaceholder = "[WARNA_BUTTON_LOGIN]";
    static const std::string hoverPlaceholder = "[WARNA_HOVER_BUTTON_LOGIN]";
    if (containsIgnoringCase(line, buttonPlaceholder))
        replaceAll(line, buttonPlaceholder, button);
    if (containsIgnoringCase(line, hoverPlaceholder))
        replaceAll(line, hoverPlaceholder, hover);
}

} // namespace

std::string brandedStylesheet(const std::string &stylesheet, const JsonDocument &profile) {
    static const JsonDocument noData = JsonDocument::object();
    const JsonDocument &data = profile.is_object() && profile.contains("data") ? profile["data"] : noData;
    const std::string button = jsonText(data, "warna_button_login");
    const std::string hover = jsonText(data, "warna_hover_button_login");
    std::string result;
    result.reserve(stylesheet.size());
    size_t start = 0;
    while (start <= stylesheet.size()) {
        const size_t end = std::min(stylesheet.find('\n', start), stylesheet.size());
        std::string line = stylesheet.substr(start, end - start);
        brandLine(line, button, hover);
        result += line;
        if (end < stylesheet.size())
            result += '\n';
        start = end + 1;
    }
    return result;
}

void applyBranding(const std::string &stylePath, const JsonDocument &profile) {
    const QString path = QString::fromStdString(stylePath);
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        throw std::runtime_error("Cannot read " + stylePath + ": " + in.errorString().toStdString());
    const QByteArray text = in.readAll();
    in.close();
    const std::string branded = brandedStylesheet(text.toStdString(), profile);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(branded.data(), static_cast<qint64>(branded.size())) < 0 || !out.commit())
        throw std::runtime_error("Cannot write " + stylePath + ": " + out.errorString().toStdString());
}
