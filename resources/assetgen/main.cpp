// kelvara-assetgen OUTDIR: draws the pictures of the asset archive into OUTDIR/img and the note
// icon into OUTDIR/notes.png. Run by the build; exits non-zero when a file cannot be written.
#include "GifWriter.h"
#include "NoteIcon.h"
#include "PagePictures.h"
#include "Spinner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdio>
#include <functional>

namespace {

struct Picture {
    const char *path;
    std::function<QImage()> draw;
};

const Picture Pictures[] = {
    {"img/loading.jpg", drawCoverPlaceholder},
    {"img/loading-banner.jpg", drawBannerPlaceholder},
    {"img/user.png", drawUserIcon},
    {"img/book_shadow.png", drawBookShadow},
    {"img/select.png", drawSelectArrow},
    {"img/111.jpg", [] { return drawSampleCover(QColor(0x2c, 0x3e, 0x50), QColor(0xe6, 0x7e, 0x22), 0); }},
    {"img/222.jpg", [] { return drawSampleCover(QColor(0x16, 0xa0, 0x85), QColor(0xf1, 0xc4, 0x0f), 1); }},
    {"img/img_01.jpg", [] { return drawSampleCover(QColor(0x8e, 0x44, 0xad), QColor(0xec, 0xf0, 0xf1), 2); }},
    {"img/img_02.jpg", [] { return drawSampleCover(QColor(0xc0, 0x39, 0x2b), QColor(0xf3, 0x9c, 0x12), 0); }},
    {"img/img_03.jpg", [] { return drawSampleCover(QColor(0x27, 0xae, 0x60), QColor(0x2c, 0x3e, 0x50), 1); }},
    {"img/banner_01.jpg",
     [] { return drawSampleBanner(QColor(0x34, 0x98, 0xdb), QColor(0x8e, 0x44, 0xad)); }},
    {"img/banner_02.jpg",
     [] { return drawSampleBanner(QColor(0x16, 0xa0, 0x85), QColor(0x27, 0xae, 0x60)); }},
    {"img/default_avatar_male.jpg", drawDefaultAvatar},
    {"img/logo-header.png", drawHeaderLogo},
    {"notes.png", drawNoteIcon},
};

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvara-assetgen OUTDIR\n");
        return 2;
    }
    QCoreApplication app(argc, argv); // image format plugins (JPEG) are found through the application
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath("img")) {
        std::fprintf(stderr, "kelvara-assetgen: cannot create %s/img\n", argv[1]);
        return 1;
    }
    for (const Picture &picture : Pictures) {
        const int quality = QString(picture.path).endsWith(".jpg") ? 90 : -1;
        if (!picture.draw().save(out.filePath(picture.path), nullptr, quality)) {
            std::fprintf(stderr, "kelvara-assetgen: cannot write %s\n", picture.path);
            return 1;
        }
    }
    if (!writeFile(out.filePath("img/loading.gif"), encodeAnimatedGif(drawSpinnerFrames(32), 8))) {
        std::fprintf(stderr, "kelvara-assetgen: cannot write img/loading.gif\n");
        return 1;
    }
    return 0;
}
