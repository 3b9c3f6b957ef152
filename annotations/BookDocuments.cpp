#include "annotations/BookDocuments.h"

#include <QFile>
#include <QStringDecoder>

#include <stdexcept>

namespace {

// The file's bytes as UTF-8: a byte-order mark selects the decoding, text without one is UTF-8 already.
QByteArray utf8Text(const QByteArray &bytes) {
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
    if (!marked || *marked == QStringConverter::Utf8)
        return bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder decode(*marked);
    const QString text = decode(bytes);
    if (decode.hasError())
        throw std::runtime_error("The stored annotations are not valid text");
    return text.toUtf8();
}

} // namespace

JsonDocument emptyBookDocument(const std::string &idKonten) {
    JsonDocument document = JsonDocument::object();
    document["id_konten"] = idKonten;
    document["data"] = JsonDocument::array();
    return document;
}

std::optional<JsonDocument> takeStoredAnnotations(const std::string &path) {
    QFile file(QString::fromStdString(path));
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("Cannot open " + path + ": " + file.errorString().toStdString());
    const QByteArray text = utf8Text(file.readAll());
    file.close();
    JsonDocument document = parseOutsideJson(std::string_view(text.constData(), size_t(text.size())));
    if (!document.is_object())
        throw std::runtime_error("The stored annotations are not a JSON object");
    file.remove();
    return document;
}
