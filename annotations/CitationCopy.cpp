#include "annotations/CitationCopy.h"

#include "annotations/AnnotationValues.h"
#include "model/DetailBook.h"

#include <QStringList>

QString citationBlock(const TDetailBook &book, const std::string &pageLabel, const QString &phrase) {
    auto q = [](const std::string &text) { return QString::fromStdString(text); };
    return QStringList{QStringLiteral("Judul : ") + q(book.judul),
                       QStringLiteral("Penulis : ") + q(book.penulis),
                       QStringLiteral("Penerbit : ") + q(book.penerbit),
                       QStringLiteral("Tahun Terbit : ") + q(book.tahun_terbit),
                       QStringLiteral("Halaman : ") + q(pageLabel),
                       QStringLiteral("Frase : ") + phrase}
        .join(QStringLiteral("\r\n"));
}

bool recordCopiedText(JsonDocument &textCopy, const std::string &pageLabel, const std::string &phrase) {
    JsonDocument &entries = textCopy["data"];
    if (!entries.is_array())
        entries = JsonDocument::array();
    for (const JsonDocument &entry : entries)
        if (textAt(entry, "page") == pageLabel && textAt(entry, "text") == phrase)
            return false;
    JsonDocument entry = JsonDocument::object();
    entry["page"] = pageLabel;
    entry["text"] = phrase;
    entries.push_back(std::move(entry));
    return true;
}
