#include "browser/DataFolderScope.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
TEST(DataFolderScope, TrustsOnlyLocalFilesBelowTheFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QDir(root.path()).mkpath("data/css");
    QDir(root.path()).mkpath("outside");
    QDir(root.path()).mkpath("data2");
    const QString data = root.filePath("data");
    ASSERT_TRUE(QFile::link(root.filePath("outside"), data + "/escape"));
    const DataFolderScope scope(data);

    struct Case {
        QUrl url;
        bool inside;
    };
    const Case cases[] = {
        {QUrl::fromLocalFile(data + "/login.html"), true},
        {QUrl::fromLocalFile(data + "/css/style.css"), true},
        {QUrl::fromLocalFile(data + "/with space #1.html"), true},
        {QUrl::fromLocalFile(data), false},
        {QUrl::fromLocalFile(data + "/../outside/x.html"), false},
        {QUrl::fromLocalFile(root.filePath("data2/login.html")), false},
        {QUrl::fromLocalFile(data + "/escape/x.html"), false},
        {QUrl("file://otherhost" + data + "/login.html"), false},
        {QUrl("https://example.com/login.html"), false},
        {QUrl("about:blank"), false},
        {QUrl(), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(scope.contains(c.url), c.inside) << c.url.toString().toStdString();

    EXPECT_FALSE(DataFolderScope(QString()).contains(QUrl::fromLocalFile("/login.html")));
}
} // namespace
