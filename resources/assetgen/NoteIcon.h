#pragma once

#include <QColor>
#include <QImage>

// The colour of the note icon's outline and text lines.
inline const QColor NoteIconColour(0xF1, 0xC4, 0x0F);

// The note icon shown where a note sits on a page: a 48 x 48 speech bubble outline with three
// text lines, in NoteIconColour on a transparent background.
QImage drawNoteIcon();
