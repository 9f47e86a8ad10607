#include "cli/NumberList.h"

#include "base/NumberParse.h"

#include <cmath>

namespace kalvion::cli {

bool ParseNumberList(const std::string &text, std::vector<double> &out)
{
    out.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        const auto v = ParseDouble(std::string_view(text).substr(start, end - start));
        if (!v || !std::isfinite(*v))
            return false;
        out.push_back(*v);
        start = end + 1;
    }
    return true;
}

bool ParseHexColour(const std::string &text, TColor &color)
{
    if (text.size() != 6)
        return false;
    unsigned value = 0;
    for (char c : text) {
        const int d = (c >= '0' && c <= '9')   ? c - '0'
                      : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                      : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                               : -1;
        if (d < 0)
            return false;
        value = value * 16 + static_cast<unsigned>(d);
    }
    color = ColorRGB(static_cast<int>(value >> 16), static_cast<int>((value >> 8) & 0xFF),
                     static_cast<int>(value & 0xFF));
    return true;
}

} // namespace kalvion::cli
