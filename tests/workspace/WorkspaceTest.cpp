#include "prompts/MessageBoxes.h"
#include "service/RuvasaLib.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

#include <set>

namespace {

std::set<QString> filesBelow(const QString &folder) {
    std::set<QString> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.insert(QDir(folder).relativeFilePath(it.next()));
    return files;
}

std::set<QString> archiveEntries() {
    QFile resource(":/viewerzip");
    EXPECT_TRUE(resource.open(QIODevice::ReadOnly));
    const QByteArray bytes = resource.readAll();
    zip_error_t error;
    zip_source_t *source = zip_source_buffer_create(bytes.constData(), bytes.size(), 0, &error);
    zip_t *archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    std::set<QString> entries;
    for (zip_int64_t i = 0; archive && i < zip_get_num_entries(archive, 0); ++i) {
        const QString name = zip_get_name(archive, i, 0);
        if (!name.endsWith('/'))
            entries.insert(name);
    }
    zip_discard(archive);
    return entries;
}

// Writes a zip holding one entry per name, each with a short text.
void writeZip(const QString &path, const QStringList &names) {
    int error = 0;
    zip_t *archive = zip_open(path.toUtf8().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    static const char text[] = "content";
    for (const QString &name : names) {
        zip_source_t *source = zip_source_buffer(archive, text, sizeof text - 1, 0);
        ASSERT_GE(zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

class Workspace : public ::testing::Test {
protected:
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};
    QString dataFolder = QString::fromStdString(TRuvasaLib::getAppPath()) + QStringLiteral("QMT3074d18");
};

TEST_F(Workspace, StaleFolderIsReplacedByExactlyTheArchive) {
    QDir().mkpath(dataFolder + "/css");
    QFile stale(dataFolder + "/index.html");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("stale page");
    stale.close();
    QFile staleCss(dataFolder + "/css/style.css");
    ASSERT_TRUE(staleCss.open(QIODevice::WriteOnly));
    staleCss.write("body{}");
    staleCss.close();

    TRuvasaLib lib;
    EXPECT_EQ(QString::fromStdString(lib.FPath), dataFolder);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(filesBelow(dataFolder), archiveEntries());
    EXPECT_FALSE(QFileInfo::exists(dataFolder + "/view.zip"));
    EXPECT_FALSE(QFileInfo::exists(dataFolder + "/index.html"));
    EXPECT_EQ(QFileInfo(dataFolder).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::ExeOther),
              QFile::Permissions());
}

TEST_F(Workspace, EveryAssetPathExistsAfterStart) {
    TRuvasaLib lib;
    const QStringList paths = {"loading.html",
                               "css/style.css",
                               "js/main.js",
                               "img/loading.jpg",
                               "img/loading-banner.jpg",
                               "img/user.png",
                               "img/book_shadow.png",
                               "img/select.png",
                               "img/111.jpg",
                               "img/222.jpg",
                               "img/banner_01.jpg",
                               "img/banner_02.jpg",
                               "img/img_01.jpg",
                               "img/img_02.jpg",
                               "img/img_03.jpg",
                               "img/default_avatar_male.jpg",
                               "img/loading.gif",
                               "img/logo-header.png",
                               "css/bootstrap.min.css",
                               "js/bootstrap.min.js",
                               "fonts/glyphicons-halflings-regular.eot",
                               "fonts/glyphicons-halflings-regular.svg",
                               "fonts/glyphicons-halflings-regular.ttf",
                               "fonts/glyphicons-halflings-regular.woff",
                               "js/jquery.js",
                               "plugins/slick-slider",
                               "plugins/bootstrap-star-rating",
                               "js/lazyload.min.js",
                               "js/select2.min.js",
                               "css/select2.min.css",
                               "js/moment.js",
                               "js/bootstrap-datepicker.min.js",
                               "js/bootstrap-datetimepicker.min.js",
                               "js/fileinput.js",
                               "css/fileinput.min.css",
                               "css/pretty-checkbox.min.css",
                               "fonts/segoeui/SEGOEUI.TTF"};
    for (const QString &path : paths)
        EXPECT_TRUE(QFileInfo::exists(dataFolder + "/" + path)) << path.toStdString();
}

TEST_F(Workspace, DestructorRemovesTheFolder) {
    {
        TRuvasaLib lib;
        ASSERT_TRUE(QFileInfo(dataFolder).isDir());
    }
    EXPECT_FALSE(QFileInfo::exists(dataFolder));
}

TEST_F(Workspace, UnzipRefusesEntriesOutsideTheFolderAndAlwaysRemovesTheZip) {
    const QStringList escaping[] = {
        {"ok.txt", "../escaped.txt"}, {"/tmp/absolute.txt"}, {"a/../../escaped.txt"}};
    for (const QStringList &names : escaping) {
        QTemporaryDir root;
        const QString base = root.filePath("base");
        QDir().mkpath(base);
        const QString zipPath = base + "/view.zip";
        writeZip(zipPath, names);
        EXPECT_THROW(TRuvasaLib::unzipViewerFile(base.toStdString(), zipPath.toStdString()),
                     std::runtime_error)
            << names.join(',').toStdString();
        EXPECT_FALSE(QFileInfo::exists(zipPath));
        EXPECT_FALSE(QFileInfo::exists(root.filePath("escaped.txt")));
        EXPECT_FALSE(QFileInfo::exists("/tmp/absolute.txt"));
    }
}

TEST_F(Workspace, UnzipRestoresNestedPathsAndFailsOnACorruptArchive) {
    QTemporaryDir root;
    const QString zipPath = root.filePath("view.zip");
    writeZip(zipPath, {"a/b/c.txt", "top.txt"});
    TRuvasaLib::unzipViewerFile(root.path().toStdString(), zipPath.toStdString());
    EXPECT_TRUE(QFileInfo::exists(root.filePath("a/b/c.txt")));
    EXPECT_TRUE(QFileInfo::exists(root.filePath("top.txt")));
    EXPECT_FALSE(QFileInfo::exists(zipPath));

    QFile corrupt(zipPath);
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write("PK not really a zip");
    corrupt.close();
    EXPECT_THROW(TRuvasaLib::unzipViewerFile(root.path().toStdString(), zipPath.toStdString()),
                 std::runtime_error);
    EXPECT_FALSE(QFileInfo::exists(zipPath));
}

TEST_F(Workspace, LayingOutUnderAFileFails) {
    QTemporaryDir root;
    QFile blocker(root.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(layOutWorkspace(root.filePath("file/sub").toStdString()), std::runtime_error);
}

TEST_F(Workspace, AFolderThatCannotBeRebuiltIsReportedAndStartUpGoesOn) {
    // The folder the data folder belongs in is a file, so nothing can be created below it.
    const QString parent = QString::fromStdString(TRuvasaLib::getAppPath());
    ASSERT_TRUE(QDir(parent).removeRecursively());
    QFile blocker(QDir::cleanPath(parent));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    {
        TRuvasaLib lib;
        EXPECT_TRUE(boxes.shown.empty()); // the window's owner shows it
        const QString text = QString::fromStdString(lib.FWorkspaceError);
        EXPECT_TRUE(text.startsWith(QStringLiteral("Error Exception #2857: "))) << text.toStdString();
        EXPECT_GT(text.size(), QStringLiteral("Error Exception #2857: ").size());
        EXPECT_EQ(QString::fromStdString(lib.FPath), dataFolder);
    }
    EXPECT_TRUE(blocker.remove());
}

TEST(DeviceIdentity, SerialIsEightUpperCaseHexDigits) {
    const std::pair<std::uint32_t, const char *> cases[] = {
        {0, "00000000"}, {0xabc, "00000ABC"}, {0xdeadbeef, "DEADBEEF"}, {0x1000000, "01000000"}};
    for (const auto &[serial, text] : cases)
        EXPECT_EQ(formatDeviceSerial(serial), text);

    const QString id = QString::fromStdString(TRuvasaLib::GetHardDiskSerial());
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]{8}$").match(id).hasMatch()) << id.toStdString();
    EXPECT_EQ(TRuvasaLib::GetHardDiskSerial(), id.toStdString()); // stable for every user and call
}

} // namespace
