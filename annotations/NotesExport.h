#pragma once
#include "service/JsonDocument.h"

#include <QString>

#include <functional>

struct TDetailBook;

// The member's notes of one loan taken out of the client: the annotations and the copied passages as one
// Markdown or HTML file, under a heading with the book's title, author, publisher and year, grouped by
// page in page order (annotations in the order they were made, then the passages copied from that page).
enum class NotesFormat { Markdown, Html };

// HTML for a path ending in ".html" or ".htm", Markdown otherwise.
NotesFormat notesFormatOf(const QString &path);

// Whether the two documents hold anything to export: an annotation of a known kind or a copied passage.
bool hasNotes(const JsonDocument &annotations, const JsonDocument &textCopy);

// The text a highlight entry covers in the book.
using CoveredText = std::function<QString(const JsonDocument &highlight)>;

// The export file's text. A copied passage is shown as the citation block the copy put on the clipboard.
QString notesDocument(const TDetailBook &book, const JsonDocument &annotations, const JsonDocument &textCopy,
                      NotesFormat format, const CoveredText &coveredText);

// Creates or replaces the file at `path` with `text` in UTF-8, written aside and renamed over, so a
// failed write leaves no file (or the old one whole). Returns why it could not be written, or "".
QString writeNotesFile(const QString &path, const QString &text);
