#include "base/AsciiText.h"

#include <algorithm>

namespace kalvion {

std::string AsciiLower(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = AsciiLowerChar(c);
    return out;
}

std::string AsciiUpper(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = AsciiUpperChar(c);
    return out;
}

bool SameText(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLowerChar(a[i]) != AsciiLowerChar(b[i]))
            return false;
    return true;
}

int CompareText(std::string_view a, std::string_view b) noexcept
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(AsciiLowerChar(a[i]));
        const auto cb = static_cast<unsigned char>(AsciiLowerChar(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

int CompareStr(std::string_view a, std::string_view b) noexcept
{
    // std::string_view::compare uses char_traits<char>, which compares as
    // unsigned char: exactly the byte order we want.
    const int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

bool IsAsciiSpace(char c) noexcept
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view TrimView(std::string_view text) noexcept
{
    std::size_t b = 0, e = text.size();
    while (b < e && IsAsciiSpace(text[b]))
        ++b;
    while (e > b && IsAsciiSpace(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

std::string Trim(std::string_view text)
{
    return std::string(TrimView(text));
}

bool ContainsText(std::string_view haystack, std::string_view needle) noexcept
{
    return haystack.find(needle) != std::string_view::npos;
}

std::string ShortForMessage(std::string_view text, std::size_t max)
{
    if (text.size() <= max)
        return std::string(text);
    return std::string(text.substr(0, max)) + "...";
}

} // namespace kalvion
