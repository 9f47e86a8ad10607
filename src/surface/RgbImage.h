#pragma once
// A plain 24-bit pixel buffer: rows top to bottom, three bytes per pixel in
// the order red, green, blue.  Image files are written outside the core.
#include "base/Colour.h"

#include <cstdint>
#include <vector>

namespace kalvion {

struct TRgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;

    TRgbImage() = default;
    TRgbImage(int width, int height)
        : Width(width > 0 && height > 0 ? width : 0), Height(width > 0 && height > 0 ? height : 0),
          Pixels(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height) * 3u, 0)
    {
    }

    void SetPixel(int x, int y, TColor c) noexcept
    {
        std::uint8_t *p = Pixels.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                                           static_cast<std::size_t>(x)) * 3u;
        p[0] = static_cast<std::uint8_t>(ColorRed(c));
        p[1] = static_cast<std::uint8_t>(ColorGreen(c));
        p[2] = static_cast<std::uint8_t>(ColorBlue(c));
    }
    TColor Pixel(int x, int y) const noexcept
    {
        const std::uint8_t *p = Pixels.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                                                 static_cast<std::size_t>(x)) * 3u;
        return ColorRGB(p[0], p[1], p[2]);
    }
};

} // namespace kalvion
