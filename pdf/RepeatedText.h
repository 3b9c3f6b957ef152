#pragma once
// Text drawn again over itself (fake bold, a shadow: the same run of glyphs repeated at nearly the same
// place) is read once: the repeats are left out of the page's fragments before the character model reads
// them, whether the extraction gave a repeat a fragment of its own or joined it to the run it repeats.

#include "pdf/TextModel.h"

#include <vector>

// The fragments without the glyphs that repeat the run just before them; the fragments keep their
// places (one left empty when all its glyphs repeat), and the kept glyphs go to `storage`, which they
// view. When nothing repeats, the fragments come back as they are.
std::vector<FragmentInput> withoutRepeatedText(const std::vector<FragmentInput> &fragments,
                                               std::vector<GlyphInput> &storage);
