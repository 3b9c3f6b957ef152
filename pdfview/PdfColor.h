#pragma once
#include <QColor>
#include <cstdint>

// Colours are kept as 0x00BBGGRR integers (red in the lowest byte) and turned into QColor only
// where Qt draws them.
using TColor = std::uint32_t;

inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clGray = 0x00808080;
// "No colour of its own": a page colour of this value takes the control's colour.
inline constexpr TColor clDefault = 0x20000000;

inline constexpr TColor rgbToColor(int red, int green, int blue) {
    return static_cast<TColor>(red & 0xFF) | static_cast<TColor>(green & 0xFF) << 8 |
           static_cast<TColor>(blue & 0xFF) << 16;
}

inline QColor toQColor(TColor color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>(color >> 8 & 0xFF),
                  static_cast<int>(color >> 16 & 0xFF));
}

inline TColor fromQColor(const QColor &color) {
    return rgbToColor(color.red(), color.green(), color.blue());
}
