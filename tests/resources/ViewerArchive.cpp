#include "ViewerArchive.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <zip.h>

#include <memory>

namespace {

struct ZipCloser {
    void operator()(zip_t *archive) const { zip_discard(archive); }
};

} // namespace

std::map<QString, QByteArray> readViewerArchive() {
    QFile resource(":/viewerzip");
    if (!resource.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = resource.readAll();
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes.constData(), bytes.size(), 0, &error);
    std::unique_ptr<zip_t, ZipCloser> archive(zip_open_from_source(source, ZIP_RDONLY, &error));
    if (!archive) {
        zip_source_free(source);
        return {};
    }
    std::map<QString, QByteArray> files;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive.get(), 0); ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive.get(), i, 0, &stat) != 0 || QString(stat.name).endsWith('/'))
            continue;
        QByteArray content(qsizetype(stat.size), '\0');
        zip_file_t *file = zip_fopen_index(archive.get(), i, 0);
        if (!file)
            continue;
        const zip_int64_t read = zip_fread(file, content.data(), stat.size);
        zip_fclose(file);
        if (read == zip_int64_t(stat.size))
            files.emplace(QString::fromUtf8(stat.name), content);
    }
    return files;
}

QString resolveArchiveReference(const QString &fromFile, const QString &reference) {
    QString path = reference.trimmed();
    path = path.left(path.indexOf(QRegularExpression("[?#]")));
    if (path.isEmpty() || path.startsWith('/') || path.contains(':'))
        return {};
    const QString folder = fromFile.contains('/') ? fromFile.left(fromFile.lastIndexOf('/') + 1) : QString();
    const QString resolved = QDir::cleanPath(folder + path);
    return resolved.startsWith("..") ? QString() : resolved;
}
