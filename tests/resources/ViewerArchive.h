#pragma once

#include <QByteArray>
#include <QString>

#include <map>

// The files of the embedded asset archive ":/viewerzip", by archive path (folders left out).
std::map<QString, QByteArray> readViewerArchive();

// Resolves `reference` (as written in a page or stylesheet, possibly with "?query" or "#fragment")
// against the archive path of the file that holds it; "" for an address outside the archive
// (data:, http:, an absolute path, or one climbing above the archive's root).
QString resolveArchiveReference(const QString &fromFile, const QString &reference);
