// The notes export file of a loan: its exact text in both formats, the refusal of nothing, the writing.
#include "annotations/NotesExport.h"
#include "model/DetailBook.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A book with two Roman-numbered front pages and markup and "&" in its fields.
TDetailBook fixtureBook() {
    TDetailBook book;
    book.id = "K7";
    book.judul = "<b>Kalkulus</b> & Aljabar";
    book.penulis = "A & B";
    book.penerbit = "Pustaka <Ilmu>";
    book.tahun_terbit = "2021";
    book.halaman_romawi = 2;
    return book;
}

// One entry of each kind, out of page order, an entry of no known kind, and passages labelled by Roman
// numeral, by number and by a label that names no page.
const JsonDocument Annotations = JsonDocument::parse(R"({"id_konten": "K7", "data": [
  {"page": 3, "type": "NOTES", "note_id": "", "color": 374470, "font": "Tahoma", "size": 8, "font_color": 0,
   "date": "11/12/2026", "text": "baris satu\r\nbaris <dua> & tiga", "point": {"left": 1, "top": 2, "right": 3, "bottom": 4}},
  {"page": 0, "type": "HIGHLIGHT", "color": 65535, "point_data": [{"left": 72, "top": 700, "right": 200, "bottom": 680}],
   "point": {"left": 72, "top": 700, "right": 200, "bottom": 680}},
  {"page": 3, "type": "RECTANGLE", "color": 255, "point": {"left": 10, "top": 20, "right": 30, "bottom": 5}},
  {"page": 1, "type": "STAMP"},
  {"page": 2, "type": "INK", "color": 16711680, "point": {"x": 1, "y": 2, "left": 1, "top": 2, "right": 3, "bottom": 1},
   "draw_data": [{"x": 3, "y": 1}]}
]})");
const JsonDocument TextCopy = JsonDocument::parse(R"({"id_konten": "K7", "data": [
  {"page": "2", "text": "rumus `a` & b"},
  {"page": "II", "text": "kata pengantar"},
  {"page": "xx", "text": "lepas"}
]})");

QString covered(const JsonDocument &highlight) {
    return highlight["page"] == 0 ? QStringLiteral("teks <yang> disorot & ditandai") : QString();
}

// Everything in a folder; nothing may stay beside a name a write could not take, not a temporary file.
QStringList leftOver(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

QString fixtureExport(NotesFormat format) {
    return notesDocument(fixtureBook(), Annotations, TextCopy, format, covered);
}

TEST(NotesExport, MarkdownGroupsByPageInPageOrderAndShowsEveryTextAsItIs) {
    const QString expected = QStringLiteral(R"(# <b>Kalkulus</b> & Aljabar

Penulis : A & B  
Penerbit : Pustaka <Ilmu>  
Tahun Terbit : 2021

## Halaman I

### Sorotan

> teks <yang> disorot & ditandai

## Halaman II

### Teks disalin

```
Judul : <b>Kalkulus</b> & Aljabar
Penulis : A & B
Penerbit : Pustaka <Ilmu>
Tahun Terbit : 2021
Halaman : II
Frase : kata pengantar
```

## Halaman 1

### Gambar

## Halaman 2

### Catatan, 11/12/2026

> baris satu  
> baris <dua> & tiga

### Kotak

### Teks disalin

```
Judul : <b>Kalkulus</b> & Aljabar
Penulis : A & B
Penerbit : Pustaka <Ilmu>
Tahun Terbit : 2021
Halaman : 2
Frase : rumus `a` & b
```

## Halaman xx

### Teks disalin

```
Judul : <b>Kalkulus</b> & Aljabar
Penulis : A & B
Penerbit : Pustaka <Ilmu>
Tahun Terbit : 2021
Halaman : xx
Frase : lepas
```
)");
    EXPECT_EQ(fixtureExport(NotesFormat::Markdown).toStdString(), expected.toStdString());
}

TEST(NotesExport, HtmlEscapesMarkupAndAmpersandsEverywhere) {
    const QString citation = QStringLiteral("Judul : &lt;b&gt;Kalkulus&lt;/b&gt; &amp; Aljabar\n"
                                            "Penulis : A &amp; B\n"
                                            "Penerbit : Pustaka &lt;Ilmu&gt;\n"
                                            "Tahun Terbit : 2021\n");
    const QString expected =
        QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"id\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<title>&lt;b&gt;Kalkulus&lt;/b&gt; &amp; Aljabar</title>\n</head>\n<body>\n"
            "<h1>&lt;b&gt;Kalkulus&lt;/b&gt; &amp; Aljabar</h1>\n"
            "<p>Penulis : A &amp; B<br>\nPenerbit : Pustaka &lt;Ilmu&gt;<br>\nTahun Terbit : 2021</p>\n"
            "<h2>Halaman I</h2>\n<h3>Sorotan</h3>\n"
            "<blockquote>teks &lt;yang&gt; disorot &amp; ditandai</blockquote>\n"
            "<h2>Halaman II</h2>\n<h3>Teks disalin</h3>\n<pre>") +
        citation +
        QStringLiteral("Halaman : II\nFrase : kata pengantar</pre>\n"
                       "<h2>Halaman 1</h2>\n<h3>Gambar</h3>\n"
                       "<h2>Halaman 2</h2>\n<h3>Catatan, 11/12/2026</h3>\n"
                       "<blockquote>baris satu<br>\nbaris &lt;dua&gt; &amp; tiga</blockquote>\n"
                       "<h3>Kotak</h3>\n<h3>Teks disalin</h3>\n<pre>") +
        citation +
        QStringLiteral("Halaman : 2\nFrase : rumus `a` &amp; b</pre>\n"
                       "<h2>Halaman xx</h2>\n<h3>Teks disalin</h3>\n<pre>") +
        citation + QStringLiteral("Halaman : xx\nFrase : lepas</pre>\n</body>\n</html>\n");
    EXPECT_EQ(fixtureExport(NotesFormat::Html).toStdString(), expected.toStdString());
}

TEST(NotesExport, AFenceOutlastsTheBackticksOfThePassage) {
    const JsonDocument copy =
        JsonDocument::parse(R"({"data": [{"page": "1", "text": "kode ```x``` ````"}]})");
    const QString text =
        notesDocument(fixtureBook(), JsonDocument::object(), copy, NotesFormat::Markdown, covered);
    EXPECT_TRUE(text.contains(QStringLiteral("\n`````\nJudul : ")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("Frase : kode ```x``` ````\n`````\n")));
}

TEST(NotesExport, OnlyAnnotationsOfAKnownKindOrCopiedPassagesCount) {
    const JsonDocument empty = JsonDocument::parse(R"({"id_konten": "K7", "data": []})");
    const JsonDocument unknown =
        JsonDocument::parse(R"({"id_konten": "K7", "data": [{"page": 0, "type": "STAMP"}]})");
    const JsonDocument ink =
        JsonDocument::parse(R"({"id_konten": "K7", "data": [{"page": 0, "type": "INK"}]})");
    const JsonDocument copied =
        JsonDocument::parse(R"({"id_konten": "K7", "data": [{"page": "1", "text": ""}]})");
    EXPECT_FALSE(hasNotes(empty, empty));
    EXPECT_FALSE(hasNotes(unknown, empty));
    EXPECT_FALSE(hasNotes(JsonDocument::object(), JsonDocument::object()));
    EXPECT_TRUE(hasNotes(ink, empty));
    EXPECT_TRUE(hasNotes(empty, copied));
}

TEST(NotesExport, TheFileTypeFollowsTheSuffix) {
    EXPECT_EQ(notesFormatOf(QStringLiteral("/tmp/a.html")), NotesFormat::Html);
    EXPECT_EQ(notesFormatOf(QStringLiteral("/tmp/a.HTM")), NotesFormat::Html);
    EXPECT_EQ(notesFormatOf(QStringLiteral("/tmp/a.md")), NotesFormat::Markdown);
    EXPECT_EQ(notesFormatOf(QStringLiteral("/tmp/html")), NotesFormat::Markdown);
}

TEST(NotesExport, AWriteReplacesTheFileInUtf8AndAFailedOneLeavesNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("catatan.md"));
    ASSERT_EQ(writeNotesFile(path, QStringLiteral("lama, lebih panjang")), QString());
    ASSERT_EQ(writeNotesFile(path, QStringLiteral("Çatatan ✓\n")), QString());
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QStringLiteral("Çatatan ✓\n").toUtf8());

    const QString taken = dir.filePath(QStringLiteral("diambil"));
    ASSERT_TRUE(QDir().mkpath(taken + QStringLiteral("/catatan.md"))); // a folder holds the name
    EXPECT_NE(writeNotesFile(taken + QStringLiteral("/catatan.md"), QStringLiteral("isi")), QString());
    EXPECT_EQ(leftOver(taken), QStringList{QStringLiteral("catatan.md")});
}

TEST(NotesExport, AReadOnlyFolderGetsNoFile) {
    QTemporaryDir dir;
    const QString locked = dir.filePath(QStringLiteral("terkunci"));
    ASSERT_TRUE(QDir().mkpath(locked));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(locked + QStringLiteral("/probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        GTEST_SKIP() << "a read-only folder stops no write of this user (root)";
    }
    EXPECT_NE(writeNotesFile(locked + QStringLiteral("/catatan.md"), QStringLiteral("isi")), QString());
    EXPECT_TRUE(leftOver(locked).isEmpty());
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace
