#include "base/CompactText.h"

#include <cstring>
#include <limits>
#include <ostream>
#include <stdexcept>

namespace kalvion {

std::uint32_t TCompactText::StoredSize() const noexcept
{
    std::uint32_t size;
    std::memcpy(&size, FBlock, HEADER_SIZE);
    return size;
}

void TCompactText::Assign(std::string_view text)
{
    if (text.empty()) {
        Release();
        return;
    }
    if (text.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("TCompactText: text longer than 4 GiB");
    // Built before the old block goes: the text may be a part of it.
    char *block = new char[HEADER_SIZE + text.size() + 1];
    const auto size = static_cast<std::uint32_t>(text.size());
    std::memcpy(block, &size, HEADER_SIZE);
    std::memcpy(block + HEADER_SIZE, text.data(), text.size());
    block[HEADER_SIZE + text.size()] = '\0';
    Release();
    FBlock = block;
}

void TCompactText::Release() noexcept
{
    delete[] FBlock;
    FBlock = nullptr;
}

std::string operator+(const TCompactText &a, std::string_view b)
{
    std::string out;
    out.reserve(a.size() + b.size());
    out.append(a.view()).append(b);
    return out;
}

std::string operator+(std::string_view a, const TCompactText &b)
{
    std::string out;
    out.reserve(a.size() + b.size());
    out.append(a).append(b.view());
    return out;
}

std::string operator+(const TCompactText &a, char b)
{
    std::string out;
    out.reserve(a.size() + 1);
    out.append(a.view()).push_back(b);
    return out;
}

std::ostream &operator<<(std::ostream &out, const TCompactText &text)
{
    return out << text.view();
}

} // namespace kalvion
