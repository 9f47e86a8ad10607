#include "base/Guid.h"

#include <cstdint>
#include <random>

namespace kalvion {

namespace {

std::mt19937_64 &GuidEngine()
{
    thread_local std::mt19937_64 engine = [] {
        std::random_device rd;
        std::seed_seq seq{rd(), rd(), rd(), rd(), rd(), rd(), rd(), rd()};
        return std::mt19937_64(seq);
    }();
    return engine;
}

bool IsHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

} // namespace

void NewGuidBytes(std::uint8_t (&b)[16])
{
    auto &eng = GuidEngine();
    for (int i = 0; i < 16; i += 8) {
        const std::uint64_t r = eng();
        for (int k = 0; k < 8; ++k)
            b[i + k] = static_cast<std::uint8_t>(r >> (8 * k));
    }
    b[6] = static_cast<std::uint8_t>((b[6] & 0x0F) | 0x40); // version 4
    b[8] = static_cast<std::uint8_t>((b[8] & 0x3F) | 0x80); // RFC 4122 variant
}

void FormatGuid(const std::uint8_t (&b)[16], char (&out)[GUID_TEXT_LENGTH]) noexcept
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::size_t p = 0;
    out[p++] = '{';
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            out[p++] = '-';
        out[p++] = hex[b[i] >> 4];
        out[p++] = hex[b[i] & 0x0F];
    }
    out[p++] = '}';
}

bool ParseCanonicalGuid(std::string_view t, std::uint8_t (&b)[16]) noexcept
{
    if (t.size() != GUID_TEXT_LENGTH || t.front() != '{' || t.back() != '}')
        return false;
    std::size_t p = 1;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) {
            if (t[p++] != '-')
                return false;
        }
        int v = 0;
        for (int k = 0; k < 2; ++k) {
            const char c = t[p++];
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return false; // lower case included: it would not come back the same
            v = v * 16 + d;
        }
        b[i] = static_cast<std::uint8_t>(v);
    }
    return true;
}

std::string NewGuidString()
{
    std::uint8_t b[16];
    NewGuidBytes(b);
    char text[GUID_TEXT_LENGTH];
    FormatGuid(b, text);
    return std::string(text, GUID_TEXT_LENGTH);
}

bool IsGuidString(std::string_view t) noexcept
{
    if (t.size() != GUID_TEXT_LENGTH || t.front() != '{' || t.back() != '}')
        return false;
    for (std::size_t i = 1; i + 1 < t.size(); ++i) {
        const bool dash = (i == 9 || i == 14 || i == 19 || i == 24);
        if (dash ? t[i] != '-' : !IsHex(t[i]))
            return false;
    }
    return true;
}

} // namespace kalvion
