#pragma once
// TCompactText: a text member that costs one pointer while it is empty.
// Bodies carry a dozen texts (notes, file names, type labels) that most of
// them never set; a std::string spends 32 bytes on each even then.  Here an
// empty text is a null pointer and a set one a single block holding its
// length and bytes.  Reads look like std::string's; the bytes are kept
// unchanged, embedded zeros included.
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace kalvion {

class TCompactText {
public:
    TCompactText() noexcept = default;
    TCompactText(std::string_view text) { Assign(text); }
    TCompactText(const std::string &text) { Assign(text); }
    TCompactText(const char *text) { Assign(text ? std::string_view(text) : std::string_view()); }
    TCompactText(const TCompactText &other) { Assign(other.view()); }
    TCompactText(TCompactText &&other) noexcept : FBlock(other.FBlock) { other.FBlock = nullptr; }
    ~TCompactText() { Release(); }

    TCompactText &operator=(const TCompactText &other)
    {
        if (this != &other)
            Assign(other.view());
        return *this;
    }
    TCompactText &operator=(TCompactText &&other) noexcept
    {
        if (this != &other) {
            Release();
            FBlock = other.FBlock;
            other.FBlock = nullptr;
        }
        return *this;
    }
    TCompactText &operator=(std::string_view text)
    {
        Assign(text);
        return *this;
    }
    TCompactText &operator=(const std::string &text)
    {
        Assign(text);
        return *this;
    }
    TCompactText &operator=(const char *text)
    {
        Assign(text ? std::string_view(text) : std::string_view());
        return *this;
    }

    bool empty() const noexcept { return FBlock == nullptr; }
    std::size_t size() const noexcept { return FBlock ? StoredSize() : 0; }
    std::size_t length() const noexcept { return size(); }
    // Never null: an empty text reads as "".
    const char *data() const noexcept { return FBlock ? Chars() : ""; }
    const char *c_str() const noexcept { return data(); }
    const char *begin() const noexcept { return data(); }
    const char *end() const noexcept { return data() + size(); }
    char operator[](std::size_t i) const noexcept { return data()[i]; }
    char front() const noexcept { return view().front(); }
    char back() const noexcept { return view().back(); }
    std::string_view view() const noexcept { return {data(), size()}; }
    std::size_t find(std::string_view what, std::size_t pos = 0) const noexcept { return view().find(what, pos); }
    std::size_t find(char c, std::size_t pos = 0) const noexcept { return view().find(c, pos); }
    std::size_t rfind(std::string_view what, std::size_t pos = std::string_view::npos) const noexcept
    {
        return view().rfind(what, pos);
    }
    bool starts_with(std::string_view prefix) const noexcept { return view().starts_with(prefix); }
    bool ends_with(std::string_view suffix) const noexcept { return view().ends_with(suffix); }
    std::string substr(std::size_t pos, std::size_t count = std::string_view::npos) const
    {
        return std::string(view().substr(pos, count));
    }
    std::string str() const { return std::string(view()); }
    operator std::string_view() const noexcept { return view(); }
    operator std::string() const { return str(); }
    void clear() noexcept { Release(); }

    friend bool operator==(const TCompactText &a, const TCompactText &b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const TCompactText &a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const TCompactText &a, const std::string &b) noexcept { return a.view() == b; }
    friend bool operator==(const TCompactText &a, const char *b) noexcept { return a.view() == std::string_view(b); }
    friend std::string operator+(const TCompactText &a, std::string_view b);
    friend std::string operator+(std::string_view a, const TCompactText &b);
    friend std::string operator+(const TCompactText &a, const std::string &b) { return a + std::string_view(b); }
    friend std::string operator+(const std::string &a, const TCompactText &b) { return std::string_view(a) + b; }
    friend std::string operator+(const TCompactText &a, const char *b) { return a + std::string_view(b); }
    friend std::string operator+(const char *a, const TCompactText &b) { return std::string_view(a) + b; }
    friend std::string operator+(const TCompactText &a, const TCompactText &b) { return a + b.view(); }
    friend std::string operator+(const TCompactText &a, char b);
    friend std::ostream &operator<<(std::ostream &out, const TCompactText &text);

private:
    // The block: the length as 32 bits, the bytes, a closing zero for c_str.
    static constexpr std::size_t HEADER_SIZE = sizeof(std::uint32_t);
    std::uint32_t StoredSize() const noexcept;
    const char *Chars() const noexcept { return FBlock + HEADER_SIZE; }
    void Assign(std::string_view text);
    void Release() noexcept;

    char *FBlock = nullptr;
};

} // namespace kalvion
