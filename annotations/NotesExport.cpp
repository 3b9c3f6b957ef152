#include "annotations/NotesExport.h"

#include "annotations/AnnotationValues.h"
#include "annotations/CitationCopy.h"
#include "annotations/PageLabel.h"
#include "model/DetailBook.h"

#include <QSaveFile>
#include <QStringList>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace {

// One exported entry: its kind as a heading, and the text under it, quoted or kept as it is (a citation).
struct Item {
    QString heading;
    QString text;
    bool preformatted = false;
};

struct PageGroup {
    QString label;
    std::vector<Item> items;
};

QString q(const std::string &text) {
    return QString::fromStdString(text);
}

// Lines separated by LF whatever the source used (notes and citations keep CR LF).
QStringList linesOf(const QString &text) {
    QString lf = text;
    lf.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lf.split(QLatin1Char('\n'));
}

// The page index a copied passage's printed label names, when it names one.
std::optional<int> pageIndexOfLabel(const std::string &label, int romanPages) {
    if (!label.empty() && label.size() < 10 &&
        std::all_of(label.begin(), label.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::stoi(label) - 1 + std::max(romanPages, 0);
    for (int index = 0; index < std::min(romanPages, 4000); ++index)
        if (romanNumeral(index + 1) == label)
            return index;
    return std::nullopt;
}

bool exportedKind(const std::string &type) {
    return type == "HIGHLIGHT" || type == "RECTANGLE" || type == "INK" || type == "NOTES";
}

std::optional<Item> annotationItem(const JsonDocument &entry, const CoveredText &coveredText) {
    const std::string type = textAt(entry, "type");
    if (type == "HIGHLIGHT")
        return Item{QStringLiteral("Sorotan"), coveredText(entry)};
    if (type == "RECTANGLE")
        return Item{QStringLiteral("Kotak"), {}};
    if (type == "INK")
        return Item{QStringLiteral("Gambar"), {}};
    if (type == "NOTES") {
        const std::string date = textAt(entry, "date");
        return Item{date.empty() ? QStringLiteral("Catatan") : QStringLiteral("Catatan, ") + q(date),
                    q(textAt(entry, "text"))};
    }
    return std::nullopt;
}

// The entries of both documents by page: pages in order, then passages whose label names no page.
std::vector<PageGroup> groupByPage(const TDetailBook &book, const JsonDocument &annotations,
                                   const JsonDocument &textCopy, const CoveredText &coveredText) {
    std::map<int, PageGroup> pages;
    std::vector<PageGroup> unplaced;
    auto pageGroup = [&](int index) -> PageGroup & {
        PageGroup &group = pages[index];
        group.label = q(printedPageLabel(index, book.halaman_romawi));
        return group;
    };
    for (const JsonDocument &entry : memberAt(annotations, "data"))
        if (std::optional<Item> item = annotationItem(entry, coveredText))
            pageGroup(integerAt(entry, "page")).items.push_back(std::move(*item));
    for (const JsonDocument &entry : memberAt(textCopy, "data")) {
        const std::string label = textAt(entry, "page");
        Item item{QStringLiteral("Teks disalin"), citationBlock(book, label, q(textAt(entry, "text"))), true};
        if (std::optional<int> index = pageIndexOfLabel(label, book.halaman_romawi)) {
            pageGroup(*index).items.push_back(std::move(item));
            continue;
        }
        auto same = std::find_if(unplaced.begin(), unplaced.end(),
                                 [&](const PageGroup &group) { return group.label == q(label); });
        if (same == unplaced.end())
            same = unplaced.insert(unplaced.end(), PageGroup{q(label), {}});
        same->items.push_back(std::move(item));
    }
    std::vector<PageGroup> ordered;
    for (auto &[index, group] : pages)
        ordered.push_back(std::move(group));
    ordered.insert(ordered.end(), unplaced.begin(), unplaced.end());
    return ordered;
}

// The blocks of an export file in one format.
class NotesWriter {
public:
    virtual ~NotesWriter() = default;
    virtual void begin(const QString &title) = 0;
    virtual void heading(int level, const QString &text) = 0;
    virtual void lines(const QStringList &lines) = 0;
    virtual void quote(const QString &text) = 0;
    virtual void preformatted(const QString &text) = 0;
    virtual void end() = 0;
    QString out;
};

// Markdown shows every text as it is: nothing of the book's fields or the notes is escaped.
class MarkdownWriter : public NotesWriter {
public:
    void begin(const QString &) override {}
    void heading(int level, const QString &text) override {
        block(QString(level, QLatin1Char('#')) + QLatin1Char(' ') + text);
    }
    void lines(const QStringList &lines) override { block(lines.join(QStringLiteral("  \n"))); }
    void quote(const QString &text) override {
        QStringList quoted;
        for (const QString &line : linesOf(text))
            quoted << QStringLiteral("> ") + line;
        lines(quoted);
    }
    // Fenced by more backticks than any run inside, so the fence cannot close early.
    void preformatted(const QString &text) override {
        qsizetype longest = 0, run = 0;
        for (QChar c : text) {
            run = c == QLatin1Char('`') ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        const QString fence(std::max<qsizetype>(3, longest + 1), QLatin1Char('`'));
        block(fence + QLatin1Char('\n') + linesOf(text).join(QLatin1Char('\n')) + QLatin1Char('\n') + fence);
    }
    void end() override {}

private:
    void block(const QString &text) {
        out += (out.isEmpty() ? QString() : QStringLiteral("\n")) + text + '\n';
    }
};

class HtmlWriter : public NotesWriter {
public:
    void begin(const QString &title) override {
        out =
            QStringLiteral("<!DOCTYPE html>\n<html lang=\"id\">\n<head>\n<meta charset=\"utf-8\">\n<title>") +
            title.toHtmlEscaped() + QStringLiteral("</title>\n</head>\n<body>\n");
    }
    void heading(int level, const QString &text) override {
        const QString tag = QStringLiteral("h%1").arg(level);
        out += QStringLiteral("<%1>%2</%1>\n").arg(tag, text.toHtmlEscaped());
    }
    void lines(const QStringList &lines) override { out += QStringLiteral("<p>%1</p>\n").arg(joined(lines)); }
    void quote(const QString &text) override {
        out += QStringLiteral("<blockquote>%1</blockquote>\n").arg(joined(linesOf(text)));
    }
    void preformatted(const QString &text) override {
        out += QStringLiteral("<pre>%1</pre>\n").arg(linesOf(text).join(QLatin1Char('\n')).toHtmlEscaped());
    }
    void end() override { out += QStringLiteral("</body>\n</html>\n"); }

private:
    static QString joined(const QStringList &lines) {
        QStringList escaped;
        for (const QString &line : lines)
            escaped << line.toHtmlEscaped();
        return escaped.join(QStringLiteral("<br>\n"));
    }
};

} // namespace

NotesFormat notesFormatOf(const QString &path) {
    return path.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ||
                   path.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive)
               ? NotesFormat::Html
               : NotesFormat::Markdown;
}

bool hasNotes(const JsonDocument &annotations, const JsonDocument &textCopy) {
    const JsonDocument &entries = memberAt(annotations, "data");
    const bool annotated = std::any_of(entries.begin(), entries.end(), [](const JsonDocument &entry) {
        return exportedKind(textAt(entry, "type"));
    });
    return annotated || !memberAt(textCopy, "data").empty();
}

QString notesDocument(const TDetailBook &book, const JsonDocument &annotations, const JsonDocument &textCopy,
                      NotesFormat format, const CoveredText &coveredText) {
    MarkdownWriter markdown;
    HtmlWriter html;
    NotesWriter &writer = format == NotesFormat::Html ? static_cast<NotesWriter &>(html) : markdown;
    writer.begin(q(book.judul));
    writer.heading(1, q(book.judul));
    writer.lines({QStringLiteral("Penulis : ") + q(book.penulis),
                  QStringLiteral("Penerbit : ") + q(book.penerbit),
                  QStringLiteral("Tahun Terbit : ") + q(book.tahun_terbit)});
    for (const PageGroup &page : groupByPage(book, annotations, textCopy, coveredText)) {
        writer.heading(2, QStringLiteral("Halaman ") + page.label);
        for (const Item &item : page.items) {
            writer.heading(3, item.heading);
            if (item.preformatted)
                writer.preformatted(item.text);
            else if (!item.text.isEmpty())
                writer.quote(item.text);
        }
    }
    writer.end();
    return writer.out;
}

QString writeNotesFile(const QString &path, const QString &text) {
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return {};
}
