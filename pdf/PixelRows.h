#pragma once
// Copies of pixel rows between 32-bit pixels in memory order B, G, R, A (a QImage's RGB32 and ARGB32 on a
// little-endian machine, the engine's BGRx and BGRA bitmaps) and the three-byte B, G, R pixels of the
// engine's opaque pixmaps.

// Drops the fourth byte of each pixel.
void packRow(const unsigned char *from, unsigned char *to, int pixels);
// Adds the fourth byte of each pixel as opaque alpha (0xFF).
void unpackRow(const unsigned char *from, unsigned char *to, int pixels);
