#pragma once
#include <QString>

// Creates or replaces the file at `path` with `citation` and a line break (CR LF), in the ANSI code
// page. Returns why it could not be written, or "" on success.
QString writeCitationFile(const QString &path, const QString &citation);
