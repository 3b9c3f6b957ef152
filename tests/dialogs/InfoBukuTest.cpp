// The book information window: the book's data, the six citation buttons and the saved file.
#include "dialogs/CitationFile.h"
#include "dialogs/FormInfoBuku.h"
#include "prompts/FileDialogs.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderRecords.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TDetailBook sampleBook() {
    TDetailBook book;
    book.judul = "Sejarah Nusantara";
    book.penulis = "Rina O'Neil";
    book.penerbit = "Pustaka Kelvara";
    book.isbn = "978-602-0000-00-1";
    book.tahun_terbit = "2019";
    book.kategori = "Sejarah";
    book.mla_style = "O'Neil, Rina. <i>Sejarah Nusantara</i>. Pustaka Kelvara, 2019.";
    book.chicago_style = "Chicago";
    book.turabian_style = "Turabian";
    book.apa_style = "O'Neil, R. (2019). <i>Sejarah Nusantara</i> \u2014 Caf\u00e9 \u4E66.";
    book.harvard_style = "Harvard";
    book.ieee_style = "IEEE";
    return book;
}

class InfoBuku : public ::testing::Test {
protected:
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes boxesScope{boxes};
    ScriptedFileDialogs dialogs;
    ScopedFileDialogs dialogsScope{dialogs};
    QStringList opened;
    bool opens = true; // what the system answers when asked to open a saved file
    TFormInfoBuku form{nullptr, [this](const QString &path) {
                           opened << path;
                           return opens;
                       }};
    QTemporaryDir dir;

    QByteArray contentOf(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QPushButton *button(const char *caption) {
        for (QPushButton *candidate : form.findChildren<QPushButton *>())
            if (candidate->text() == QLatin1String(caption))
                return candidate;
        return nullptr;
    }
};

TEST_F(InfoBuku, ShowsTheBookWithTwoLeadingSpaces) {
    form.ShowBook(sampleBook());
    EXPECT_TRUE(form.isVisible());
    const std::pair<QLabel *, const char *> rows[] = {{form.panelJudul, "  Sejarah Nusantara"},
                                                      {form.panelPenulis, "  Rina O'Neil"},
                                                      {form.panelPenerbit, "  Pustaka Kelvara"},
                                                      {form.panelISBN, "  978-602-0000-00-1"},
                                                      {form.panelTahun, "  2019"},
                                                      {form.panelKategori, "  Sejarah"}};
    for (const auto &[panel, text] : rows)
        EXPECT_EQ(panel->text(), QString::fromUtf8(text));
}

TEST_F(InfoBuku, EscapeClosesTheWindow) {
    form.ShowBook(sampleBook());
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(InfoBuku, AStyleWithoutCitationIsDisabledUntilABookHasOne) {
    TDetailBook without = sampleBook();
    without.apa_style = "N/A";
    without.ieee_style = "N/A";
    form.ShowBook(without);
    for (const char *caption : {"MLA Style", "Chicago Style", "Turabian Style", "Harvard Style"})
        EXPECT_TRUE(button(caption)->isEnabled()) << caption;
    EXPECT_FALSE(button("APA Style")->isEnabled());
    EXPECT_FALSE(button("IEEE Style")->isEnabled());

    form.ShowBook(sampleBook());
    EXPECT_TRUE(button("APA Style")->isEnabled());
    EXPECT_TRUE(button("IEEE Style")->isEnabled());
}

TEST_F(InfoBuku, SavesThePressedStyleOverAnOldFileAndOpensIt) {
    const QString path = dir.filePath(QStringLiteral("kutipan.html"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(500, 'x'));
    old.close();
    form.ShowBook(sampleBook());
    dialogs.answers = {path};
    button("APA Style")->click();

    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_TRUE(dialogs.asked[0].save);
    EXPECT_EQ(dialogs.asked[0].filters, QStringList{QStringLiteral("HTML File (*.html)")});
    EXPECT_EQ(dialogs.asked[0].defaultSuffix, QStringLiteral("html"));
    EXPECT_EQ(contentOf(path), QByteArray("O'Neil, R. (2019). <i>Sejarah Nusantara</i> \x97 Caf\xE9 ?.\r\n"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Informasi"));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Berhasil Disimpan Di : ") + path);
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(opened, QStringList{path});

    dialogs.answers = {path};
    button("MLA Style")->click();
    EXPECT_EQ(contentOf(path),
              QByteArray("O'Neil, Rina. <i>Sejarah Nusantara</i>. Pustaka Kelvara, 2019.\r\n"));
}

TEST_F(InfoBuku, TheDialogOffersTheTitleInTheDocumentsFolderOrElseHome) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ASSERT_FALSE(documents.isEmpty());
    TDetailBook book = sampleBook();
    book.judul = "Belajar C/C++\tuntuk Pemula";
    form.ShowBook(book);

    ASSERT_TRUE(QDir().mkpath(documents));
    button("MLA Style")->click();
    ASSERT_TRUE(QDir(documents).removeRecursively());
    button("IEEE Style")->click();

    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0].directory, documents);
    EXPECT_EQ(dialogs.asked[1].directory, QDir::homePath());
    for (const ScriptedFileDialogs::Asked &asked : dialogs.asked)
        EXPECT_EQ(asked.proposedName, QStringLiteral("Belajar C C++ untuk Pemula.html"));
}

TEST(CitationFileName, KeepsATitleSafeAsAFileName) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("Sejarah Nusantara"), QStringLiteral("Sejarah Nusantara.html")},
        {QStringLiteral("  Input/Output\r\ndan\x01Kontrol  "),
         QStringLiteral("Input Output dan Kontrol.html")},
        {QStringLiteral("Laporan \u202Elmth.exe"), QStringLiteral("Laporan lmth.exe.html")},
        {QStringLiteral("../.. /rahasia"), QStringLiteral("rahasia.html")},
        {QStringLiteral("Caf\u00e9 \u4E66 \U0001F4DA"), QStringLiteral("Caf\u00e9 \u4E66 \U0001F4DA.html")},
        {QStringLiteral(" / \t "), QStringLiteral("Daftar Pustaka.html")},
        {QString(), QStringLiteral("Daftar Pustaka.html")},
    };
    for (const auto &[title, name] : cases)
        EXPECT_EQ(citationFileName(title, QStringLiteral("html")), name) << title.toStdString();
}

TEST(CitationFileName, ALongTitleIsCutWholeCharactersWithinTheLimit) {
    // Three-byte and four-byte characters, so a cut by bytes could split one.
    for (const QString &unit :
         {QStringLiteral("\u4E66"), QStringLiteral("\U0001F4DA"), QStringLiteral("a")}) {
        const QString name = citationFileName(unit.repeated(300), QStringLiteral("html"));
        EXPECT_LE(name.toUtf8().size(), 200) << unit.toStdString();
        EXPECT_GT(name.toUtf8().size(), 190) << unit.toStdString();
        ASSERT_TRUE(name.endsWith(QStringLiteral(".html")));
        EXPECT_EQ(name.chopped(5), unit.repeated(name.chopped(5).size() / unit.size())) << unit.toStdString();
    }
}

TEST_F(InfoBuku, ASavedFileThatCannotBeOpenedIsReported) {
    const QString path = dir.filePath(QStringLiteral("kutipan.html"));
    form.ShowBook(sampleBook());
    opens = false;
    dialogs.answers = {path};
    button("Chicago Style")->click();

    EXPECT_EQ(contentOf(path), QByteArray("Chicago\r\n"));
    EXPECT_EQ(opened, QStringList{path});
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Berhasil Disimpan Di : ") + path);
    EXPECT_EQ(boxes.shown[1].kind, MsgKind::Warning);
    EXPECT_EQ(boxes.shown[1].text,
              QStringLiteral("File sitasi tersimpan, tetapi tidak dapat dibuka: ") + path);
    EXPECT_EQ(boxes.shown[1].buttons, MsgButtons::Ok);
}

TEST_F(InfoBuku, ACancelledOrFailedSaveOpensNothing) {
    form.ShowBook(sampleBook());
    button("MLA Style")->click(); // the dialog is cancelled
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    const QString unwritable = dir.filePath(QStringLiteral("tidak-ada/kutipan.html"));
    dialogs.answers = {unwritable};
    button("MLA Style")->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Error);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("Error When Saving : ")))
        << boxes.shown[0].text.toStdString();
    EXPECT_GT(boxes.shown[0].text.size(), QStringLiteral("Error When Saving : ").size());
    EXPECT_FALSE(QFile::exists(unwritable));
    EXPECT_TRUE(opened.isEmpty());
}

} // namespace
