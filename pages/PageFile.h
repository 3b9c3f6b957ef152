#pragma once
#include "pages/PageText.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// A page file being written: created anew, UTF-8 bytes as given (no byte-order mark). Whatever was
// written stays in the file when writing stops early; the file is closed in every case.
class PageFile {
public:
    // Throws std::runtime_error when the file cannot be created.
    explicit PageFile(const std::string &path);

    // Writes `text` as it stands; the pages' pieces arrive with their CR LF already in place.
    void write(std::string_view text);
    // Writes one piece of the page, built by `fill`.
    template <typename Fill> void piece(const Fill &fill) {
        PageText text;
        fill(text);
        write(text.text);
    }
    // Flushes and closes; throws when the bytes could not be written.
    void close();

private:
    struct Closer {
        void operator()(std::FILE *file) const { std::fclose(file); }
    };
    std::string path;
    std::unique_ptr<std::FILE, Closer> file;
};

// The full path of a page file in the data folder.
std::string pagePath(const std::string &folder, std::string_view fileName);

// The address a browser view is sent to for the file at `path`: a file:// URL with every character
// that would end or change the path ("%", "#", "?", spaces, non-ASCII) percent-encoded. Every page
// of the data folder is addressed through it.
std::string pageUrl(const std::string &path);

// Reads a whole file; throws std::runtime_error when it cannot be opened or read.
std::string readWholeFile(const std::string &path);
