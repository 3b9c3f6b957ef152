// Local workspace and device identity: the data folder rebuilt from the embedded asset archive.
#include "service/RuvasaLib.h"

#include "KelvaraConfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/statvfs.h>
#include <zip.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace {

// Folds the root file system's id to 32 bits; 0 when it cannot be read.
std::uint32_t rootFileSystemId() {
    struct statvfs info {};
    if (statvfs("/", &info) != 0)
        return 0;
    const auto id = static_cast<std::uint64_t>(info.f_fsid);
    return static_cast<std::uint32_t>(id ^ (id >> 32));
}

// The first eight hex digits of the machine id, the fallback when the file system has no id.
std::uint32_t machineId() {
    std::ifstream in("/etc/machine-id");
    std::string text;
    in >> text;
    if (text.size() < 8)
        return 0;
    try {
        return static_cast<std::uint32_t>(std::stoul(text.substr(0, 8), nullptr, 16));
    } catch (const std::exception &) {
        return 0;
    }
}

// True when `name` is a relative path that stays below the folder it is extracted into.
bool isSafeEntryName(const std::string &name) {
    if (name.empty() || name.front() == '/' || name.find('\\') != std::string::npos)
        return false;
    const QStringList parts = QString::fromStdString(name).split('/');
    for (const QString &part : parts)
        if (part == QLatin1String(".."))
            return false;
    return true;
}

struct ZipArchiveCloser {
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
struct ZipFileCloser {
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};

// Removes the zip file when extraction ends, however it ends.
struct RemoveOnExit {
    std::string path;
    ~RemoveOnExit() { std::remove(path.c_str()); }
};

void extractEntry(zip_t *archive, zip_uint64_t index, const QDir &base) {
    zip_stat_t stat;
    if (zip_stat_index(archive, index, 0, &stat) != 0)
        throw std::runtime_error(zip_strerror(archive));
    const std::string name = stat.name;
    if (!isSafeEntryName(name))
        throw std::runtime_error("Archive entry outside the data folder: " + name);
    const QString target = base.filePath(QString::fromStdString(name));
    if (name.back() == '/') {
        if (!QDir().mkpath(target))
            throw std::runtime_error("Cannot create folder " + target.toStdString());
        return;
    }
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        throw std::runtime_error("Cannot create folder for " + target.toStdString());
    std::unique_ptr<zip_file_t, ZipFileCloser> in(zip_fopen_index(archive, index, 0));
    if (!in)
        throw std::runtime_error(zip_strerror(archive));
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("Cannot write " + target.toStdString() + ": " +
                                 out.errorString().toStdString());
    char buffer[64 * 1024];
    zip_int64_t n;
    while ((n = zip_fread(in.get(), buffer, sizeof buffer)) > 0)
        if (out.write(buffer, n) != n)
            throw std::runtime_error("Cannot write " + target.toStdString());
    if (n < 0)
        throw std::runtime_error(zip_file_strerror(in.get()));
}

// Writes the embedded archive to `path`; returns the failure text, empty on success.
std::string copyArchiveTo(const QString &path) {
    QFile resource(QStringLiteral(":/viewerzip"));
    if (!resource.open(QIODevice::ReadOnly))
        return "Cannot open the asset archive: " + resource.errorString().toStdString();
    QFile zip(path);
    if (!zip.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return "Cannot write " + path.toStdString() + ": " + zip.errorString().toStdString();
    if (zip.write(resource.readAll()) != resource.size())
        return "Cannot write " + path.toStdString() + ": " + zip.errorString().toStdString();
    return {};
}

} // namespace

std::string formatDeviceSerial(std::uint32_t serial) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", serial);
    return text;
}

TRuvasaLib::TRuvasaLib() {
    DevUUID = GetHardDiskSerial();
    checkDataFolder();
}

TRuvasaLib::~TRuvasaLib() {
    if (QFileInfo(QString::fromStdString(FPath)).isDir())
        DeleteDirectory(FPath);
}

std::string TRuvasaLib::getAppPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty())
        return {};
    return QDir::cleanPath(folder).toStdString() + "/";
}

std::string TRuvasaLib::GetHardDiskSerial() {
    std::uint32_t serial = rootFileSystemId();
    if (serial == 0)
        serial = machineId();
    return formatDeviceSerial(serial);
}

void TRuvasaLib::checkDataFolder() {
    FPath = getAppPath() + KelvaraConfig::AppCode;
    FWorkspaceError.clear();
    try {
        layOutWorkspace(FPath);
    } catch (const std::exception &error) {
        FWorkspaceError = std::string("Error Exception #2857: ") + error.what();
    }
}

void layOutWorkspace(const std::string &path) {
    const QString folder = QString::fromStdString(path);
    if (QFileInfo(folder).isDir())
        TRuvasaLib::DeleteDirectory(path);
    if (QFileInfo(folder).exists())
        return; // held open elsewhere: the old contents are used as they are
    if (!QDir().mkpath(folder))
        throw std::runtime_error("Cannot create folder " + path);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString zipPath = folder + "/view.zip";
    const std::string copyError = copyArchiveTo(zipPath);
    try {
        TRuvasaLib::unzipViewerFile(path, zipPath.toStdString()); // in every case: it also removes view.zip
    } catch (const std::exception &) {
        if (copyError.empty())
            throw;
    }
    if (!copyError.empty())
        throw std::runtime_error(copyError);
}

void TRuvasaLib::unzipViewerFile(const std::string &BaseDir, const std::string &FileName) {
    RemoveOnExit removeZip{FileName};
    int error = 0;
    std::unique_ptr<zip_t, ZipArchiveCloser> archive(zip_open(FileName.c_str(), ZIP_RDONLY, &error));
    if (!archive) {
        zip_error_t why;
        zip_error_init_with_code(&why, error);
        const std::string text = zip_error_strerror(&why);
        zip_error_fini(&why);
        throw std::runtime_error(text);
    }
    const QDir base(QString::fromStdString(BaseDir));
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i)
        extractEntry(archive.get(), static_cast<zip_uint64_t>(i), base);
}

void TRuvasaLib::DeleteDirectory(const std::string &DirName) {
    QDir(QString::fromStdString(DirName)).removeRecursively();
}
