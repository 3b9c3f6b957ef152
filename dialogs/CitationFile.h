#pragma once
#include <QString>

// Creates or replaces the file at `path` with `citation` and a line break (CR LF), in the ANSI code
// page. Returns why it could not be written, or "" on success.
QString writeCitationFile(const QString &path, const QString &citation);

// A file name for a book's citation made from its title: "/", control and format characters become
// spaces, runs of white space one space, no leading dots (a hidden file), at most 200 bytes in UTF-8
// with ".`suffix`" added. "Daftar Pustaka" when nothing of the title is left.
QString citationFileName(const QString &title, const QString &suffix);
