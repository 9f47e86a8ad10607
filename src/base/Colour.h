#pragma once
// Colours are 32-bit integers 0x00BBGGRR (red in the low byte) everywhere in
// sector data, settings and scripts.  Qt's QRgb is 0xAARRGGBB; the two
// conversion helpers below are the only crossing between the forms.
#include <cstdint>

namespace kalvion {

using TColor = std::uint32_t;

constexpr TColor ColorRGB(int r, int g, int b) noexcept
{
    return static_cast<TColor>(r & 0xFF) | (static_cast<TColor>(g & 0xFF) << 8) |
           (static_cast<TColor>(b & 0xFF) << 16);
}
constexpr int ColorRed(TColor c) noexcept { return static_cast<int>(c & 0xFF); }
constexpr int ColorGreen(TColor c) noexcept { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int ColorBlue(TColor c) noexcept { return static_cast<int>((c >> 16) & 0xFF); }

// 0x00BBGGRR to an opaque QRgb value 0xFFRRGGBB.
constexpr std::uint32_t ColorToQRgb(TColor c, int alpha = 255) noexcept
{
    return (static_cast<std::uint32_t>(alpha & 0xFF) << 24) |
           (static_cast<std::uint32_t>(ColorRed(c)) << 16) |
           (static_cast<std::uint32_t>(ColorGreen(c)) << 8) | static_cast<std::uint32_t>(ColorBlue(c));
}
// A QRgb value 0xAARRGGBB to 0x00BBGGRR; the opacity is dropped.
constexpr TColor ColorFromQRgb(std::uint32_t q) noexcept
{
    return ColorRGB(static_cast<int>((q >> 16) & 0xFF), static_cast<int>((q >> 8) & 0xFF),
                    static_cast<int>(q & 0xFF));
}

} // namespace kalvion
