#pragma once
#include "pdf/PdfiumCore.h"
#include "service/JsonDocument.h"

#include <QString>

#include <vector>

class TPdfControl;

// The text inside one rectangle of a selection, and whether it lies on a later line than the piece before.
struct SelectionPiece {
    QString text;
    bool startsLine = false;
};

// Whether `next` lies on another line than `previous`: its middle is outside the previous one's height.
bool startsLine(const TPdfRect &previous, const TPdfRect &next);

// The pieces as one passage. Pieces of one line run together as the engine gives them; a new line follows
// its predecessor after one space, with none added where white space is already there. A line ending in a
// wrapped word's hyphen (the text model's mark, or a soft hyphen) loses the hyphen and runs into the
// next, unless the next line repeats the word before it ("kunang-" / "kunang"), which keeps its hyphen;
// a line ending in a plain hyphen after a letter or digit ("2-" before "3") keeps it, without a
// space. The wrap mark never reaches the passage.
QString joinSelectionPieces(const std::vector<SelectionPiece> &pieces);

// The passage a view's selection copies: each selection rectangle's text (read back through the view's
// device space), joined as above.
QString selectedPhrase(TPdfControl &view);

// The passage a highlight entry covers: the book's text inside each of its "point_data" rectangles (page
// space) on its page, joined as above. "" when the page is not in the document.
QString highlightedPhrase(TPdfDocument &document, const JsonDocument &highlight);
