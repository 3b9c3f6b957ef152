#include "pages/PageFile.h"

#include <QUrl>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

std::runtime_error fileError(std::string_view what, const std::string &path) {
    return std::runtime_error(std::string(what) + " \"" + path + "\": " + std::strerror(errno));
}

} // namespace

namespace {

// A new file in place of the old one. Truncating a file that holds data makes the file system
// flush it on close, which costs more than building the whole page; a fresh file does not.
std::FILE *createAnew(const std::string &path) {
    std::remove(path.c_str());
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (file)
        std::setvbuf(file, nullptr, _IOFBF, 1 << 17); // a whole page in few writes
    return file;
}

} // namespace

PageFile::PageFile(const std::string &path) : path(path), file(createAnew(path)) {
    if (!file)
        throw fileError("Cannot create file", path);
}

void PageFile::write(std::string_view text) {
    if (!file)
        throw std::runtime_error("File \"" + path + "\" is already closed");
    if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size())
        throw fileError("Cannot write file", path);
}

void PageFile::close() {
    std::FILE *closing = file.release();
    if (closing && std::fclose(closing) != 0)
        throw fileError("Cannot write file", path);
}

std::string pagePath(const std::string &folder, std::string_view fileName) {
    return folder + "/" + std::string(fileName);
}

std::string pageUrl(const std::string &path) {
    return QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded).toStdString();
}

std::string readWholeFile(const std::string &path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        throw fileError("Cannot open file", path);
    std::string content;
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        content.append(buffer, count);
    if (std::ferror(file.get()))
        throw fileError("Cannot read file", path);
    return content;
}
