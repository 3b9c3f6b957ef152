#include "ViewerArchive.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

class ArchiveContents : public ::testing::Test {
protected:
    static void SetUpTestSuite() { files = new std::map<QString, QByteArray>(readViewerArchive()); }
    static void TearDownTestSuite() {
        delete files;
        files = nullptr;
    }
    static bool has(const QString &path) { return files->count(path) == 1; }
    static std::map<QString, QByteArray> *files;
};
std::map<QString, QByteArray> *ArchiveContents::files = nullptr;

TEST_F(ArchiveContents, EveryAssetThePagesLinkIsThere) {
    const QStringList stylesWithCarousel = {
        "css/bootstrap.min.css", "plugins/slick-slider/slick/slick-theme.css",
        "plugins/slick-slider/slick/slick.css", "plugins/bootstrap-star-rating/css/star-rating.css",
        "css/style.css"};
    const QStringList firstFiveScripts = {"js/jquery.js", "js/bootstrap.min.js", "js/lazyload.min.js",
                                          "plugins/slick-slider/slick/slick.min.js",
                                          "plugins/bootstrap-star-rating/js/star-rating.js"};
    const QStringList pictures = {"img/loading.jpg", "img/loading-banner.jpg", "img/user.png"};
    const std::pair<const char *, QStringList> pageKinds[] = {
        {"loading", {"loading.html"}},
        {"login", {"css/bootstrap.min.css", "css/style.css", "js/jquery.js", "js/bootstrap.min.js"}},
        {"home, chart, sentence search",
         stylesWithCarousel + firstFiveScripts + QStringList{"js/main.js"} + pictures},
        {"section, category lists, title search", stylesWithCarousel + firstFiveScripts + pictures},
        {"category", QStringList{"css/bootstrap.min.css", "css/select2.min.css", "css/style.css"} +
                         firstFiveScripts + QStringList{"js/select2.min.js", "js/main.js"}},
        {"detail", QStringList{"css/bootstrap.min.css", "css/style.css", "img/loading.jpg"} +
                       firstFiveScripts + QStringList{"js/main.js"}},
    };
    ASSERT_FALSE(files->empty());
    for (const auto &[kind, links] : pageKinds)
        for (const QString &link : links)
            EXPECT_TRUE(has(link)) << kind << " page links " << link.toStdString();
}

TEST_F(ArchiveContents, HoldsOnlyTheFoldersOfTheDataFolderLayout) {
    const QStringList topLevel = {"loading.html", "css", "js", "img", "fonts", "plugins"};
    for (const auto &[path, content] : *files)
        EXPECT_TRUE(topLevel.contains(path.section('/', 0, 0))) << path.toStdString();
    for (const char *path :
         {"fonts/glyphicons-halflings-regular.eot", "fonts/glyphicons-halflings-regular.svg",
          "fonts/glyphicons-halflings-regular.ttf", "fonts/glyphicons-halflings-regular.woff",
          "fonts/segoeui/SEGOEUI.TTF", "img/loading.gif", "css/bootstrap-datepicker3.min.css",
          "css/bootstrap-datetimepicker.min.css"})
        EXPECT_TRUE(has(path)) << path;
}

// A stylesheet naming a font or picture that the archive lacks shows missing icons or stars.
TEST_F(ArchiveContents, EveryUrlInTheLinkedStylesheetsResolvesInsideTheArchive) {
    const QRegularExpression url(R"(url\(\s*['"]?([^'")]+)['"]?\s*\))");
    const QStringList sheets = {"css/style.css",
                                "css/bootstrap.min.css",
                                "css/select2.min.css",
                                "plugins/slick-slider/slick/slick.css",
                                "plugins/slick-slider/slick/slick-theme.css",
                                "plugins/bootstrap-star-rating/css/star-rating.css"};
    for (const QString &sheet : sheets) {
        ASSERT_TRUE(has(sheet)) << sheet.toStdString();
        int references = 0;
        for (const auto &match : url.globalMatch(QString::fromUtf8(files->at(sheet)))) {
            const QString reference = match.captured(1);
            if (reference.startsWith("data:"))
                continue;
            ++references;
            const QString target = resolveArchiveReference(sheet, reference);
            EXPECT_TRUE(has(target)) << sheet.toStdString() << " -> " << reference.toStdString();
        }
        if (sheet != "css/select2.min.css" && sheet != "plugins/slick-slider/slick/slick.css") {
            EXPECT_GT(references, 0) << sheet.toStdString();
        }
    }
}

TEST_F(ArchiveContents, CarriesThePinnedLibraryVersions) {
    const std::pair<const char *, const char *> markers[] = {
        {"js/jquery.js", "jQuery JavaScript Library v1.11.1"},
        {"css/bootstrap.min.css", "Bootstrap v3.3.7"},
        {"js/bootstrap.min.js", "Bootstrap v3.3.7"},
        {"plugins/slick-slider/slick/slick.js", "Version: 1.6.0"},
        {"js/select2.min.js", "Select2 4.0.4"},
        {"plugins/bootstrap-star-rating/js/star-rating.js", "bootstrap-star-rating v4.0.2"},
        {"js/lazyload.min.js", "elements_selector:\"img\""},
        {"js/lazyload.min.js", "data_src:\"src\""},
    };
    for (const auto &[path, marker] : markers) {
        ASSERT_TRUE(has(path)) << path;
        EXPECT_TRUE(files->at(path).contains(marker)) << path << " lacks " << marker;
    }
}

TEST_F(ArchiveContents, EveryPictureDecodes) {
    int pictures = 0;
    for (const auto &[path, content] : *files) {
        if (!QRegularExpression(R"(\.(jpg|png|gif)$)").match(path).hasMatch())
            continue;
        ++pictures;
        QImage image;
        EXPECT_TRUE(image.loadFromData(content)) << path.toStdString();
        EXPECT_FALSE(image.isNull()) << path.toStdString();
    }
    EXPECT_GE(pictures, 15);

    QByteArray gif = files->at("img/loading.gif");
    QBuffer buffer(&gif);
    QImageReader reader(&buffer, "gif");
    EXPECT_TRUE(reader.supportsAnimation());
    EXPECT_GT(reader.imageCount(), 1);
}

} // namespace
