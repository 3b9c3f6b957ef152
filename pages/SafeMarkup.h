#pragma once
#include <string>
#include <string_view>

// The markup a service value may bring into a page (a synopsis, a found passage, the introduction):
// formatting elements with harmless attributes stay, everything that could run script goes.
// - Elements outside a short list of text and layout elements lose their tags but keep their text;
//   script, style, frames, embedded objects, forms, SVG and MathML lose their content too.
// - Attributes outside a short list go, event handlers ("on...") included; a link or picture
//   address stays only when it is relative or uses http, https or mailto.
// - Comments and declarations go; a "<" that opens no tag and a ">" in text are encoded, so are
//   "&"s that start no character reference. Kept tags are written anew with their names in lower
//   case and their values double-quoted and HTML-encoded.
// Markup made of kept elements with double-quoted, already encoded values comes out unchanged.
std::string safeMarkup(std::string_view markup);
