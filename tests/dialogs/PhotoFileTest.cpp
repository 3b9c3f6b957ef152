// Photos are refused before a registration is sent unless they are readable JPG or PNG files.
#include "dialogs/PhotoFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray Png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
const QByteArray Jpeg("\xFF\xD8\xFF\xE0\0\x10JFIF", 10);

TEST(PhotoFile, OnlyReadableJpgAndPngFilesPass) {
    QTemporaryDir dir;
    auto write = [&](const char *name, const QByteArray &bytes) {
        QFile file(dir.filePath(QLatin1String(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString unreadable = write("rahasia.png", Png);
    QFile::setPermissions(unreadable, QFileDevice::WriteOwner);
    const bool permissionsHold = !QFile(unreadable).open(QIODevice::ReadOnly); // not when run as root

    const struct {
        QString path;
        bool accepted;
    } cases[] = {
        {write("ktp.png", Png), true},
        {write("SAYA.JPG", Jpeg), true},
        {write("saya.jpeg", Jpeg), true},
        {write("ktp.gif", QByteArray("GIF89a")), false},
        {write("ktp.png.txt", Png), false},
        {write("bukan-gambar.jpg", "<?php echo 1; ?>"), false},
        {write("tertukar.png", Jpeg), false}, // a JPEG named as PNG
        {write("kosong.png", {}), false},
        {dir.filePath(QStringLiteral("hilang.png")), false},
        {dir.path() + QStringLiteral("/folder.png"), false},
    };
    ASSERT_TRUE(QDir().mkpath(dir.path() + QStringLiteral("/folder.png")));
    for (const auto &c : cases) {
        const QString problem = photoProblem(QStringLiteral("Foto Profil"), c.path);
        EXPECT_EQ(problem.isEmpty(), c.accepted) << c.path.toStdString() << ": " << problem.toStdString();
        if (!c.accepted) {
            EXPECT_TRUE(problem.startsWith(QStringLiteral("Foto Profil "))) << problem.toStdString();
        }
    }
    if (permissionsHold) {
        EXPECT_FALSE(photoProblem(QStringLiteral("Foto Profil"), unreadable).isEmpty());
    }
}

} // namespace
