#pragma once
// Real books from Debian's packages, installed by scripts/install-deps, for tests that need what real
// typesetting puts on a page.

// The Persian translation of "The Not So Short Introduction to LaTeX", typeset with XeTeX (package
// texlive-lang-arabic): right-to-left lines drawn in visual order, Arabic presentation forms, numbers and
// Latin words inside Persian lines. Page 6 (from 0) is the table of contents, "فهرست مطالب".
inline constexpr const char *PersianTexBook = "/usr/share/doc/texlive-doc/latex/lshort-persian/lshort.pdf";
