#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// Encodes frames as an endlessly looping GIF89a animation (Qt can read GIF but not write it).
// Every frame is a Format_Indexed8 image of the same size sharing the first frame's colour table
// (at most 256 entries). A table entry whose alpha is 0 becomes the transparent colour.
// Returns an empty array when the frames do not meet these conditions.
QByteArray encodeAnimatedGif(const QList<QImage> &frames, int delayCentiseconds);
