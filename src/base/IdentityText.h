#pragma once
// TIdentityText: the IDString of a stored object.  Nearly every identity is
// a GUID in its upper-case registry form, which the member keeps as its 16
// bytes (17 with the form byte, against 32 plus a 48-byte heap block for a
// std::string).  Any other text (lower case, braces missing, a name an older
// file used) is kept byte for byte in a block of its own, so whatever was
// read is written back unchanged.
#include "base/Guid.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace kalvion {

class TIdentityText {
public:
    TIdentityText() noexcept = default;
    // Explicit, so that a function may take either an identity or a text.
    explicit TIdentityText(std::string_view text) { Assign(text); }
    explicit TIdentityText(const std::string &text) { Assign(text); }
    explicit TIdentityText(const char *text) { Assign(text ? std::string_view(text) : std::string_view()); }
    TIdentityText(const TIdentityText &other);
    TIdentityText(TIdentityText &&other) noexcept;
    ~TIdentityText() { Release(); }

    TIdentityText &operator=(const TIdentityText &other);
    TIdentityText &operator=(TIdentityText &&other) noexcept;
    TIdentityText &operator=(std::string_view text)
    {
        Assign(text);
        return *this;
    }
    TIdentityText &operator=(const std::string &text)
    {
        Assign(text);
        return *this;
    }
    TIdentityText &operator=(const char *text)
    {
        Assign(text ? std::string_view(text) : std::string_view());
        return *this;
    }

    // A new random GUID.
    static TIdentityText NewGuid();

    bool empty() const noexcept { return FForm == FORM_EMPTY; }
    std::size_t size() const noexcept;
    std::size_t length() const noexcept { return size(); }
    // True when the identity is held as the 16 bytes of a GUID.
    bool IsBinaryGuid() const noexcept { return FForm == FORM_GUID; }
    std::string str() const;
    operator std::string() const { return str(); }
    // The text without a heap copy: a GUID is written into buffer, any other
    // text is viewed where it is kept.  Valid while both live unchanged.
    using TBuffer = char[GUID_TEXT_LENGTH];
    std::string_view View(TBuffer &buffer) const noexcept;
    void clear() noexcept { Release(); }

    friend bool operator==(const TIdentityText &a, const TIdentityText &b) noexcept;
    friend bool operator==(const TIdentityText &a, std::string_view b) noexcept { return a.Equals(b); }
    friend bool operator==(const TIdentityText &a, const std::string &b) noexcept { return a.Equals(b); }
    friend bool operator==(const TIdentityText &a, const char *b) noexcept { return a.Equals(b); }
    friend std::string operator+(const TIdentityText &a, std::string_view b) { return a.str().append(b); }
    friend std::string operator+(const TIdentityText &a, const std::string &b) { return a.str().append(b); }
    friend std::string operator+(const TIdentityText &a, const char *b) { return a.str().append(b); }
    friend std::string operator+(std::string_view a, const TIdentityText &b) { return std::string(a).append(b.str()); }
    friend std::string operator+(const std::string &a, const TIdentityText &b) { return a + b.str(); }
    friend std::string operator+(const char *a, const TIdentityText &b) { return std::string(a).append(b.str()); }
    friend std::ostream &operator<<(std::ostream &out, const TIdentityText &id);

private:
    enum : std::uint8_t { FORM_EMPTY = 0, FORM_GUID = 1, FORM_TEXT = 2 };
    void Assign(std::string_view text);
    void Release() noexcept;
    bool Equals(std::string_view text) const noexcept;
    std::string *Text() const noexcept;

    // The GUID's bytes, or in FORM_TEXT the address of the owned text.
    std::uint8_t FBytes[16] = {};
    std::uint8_t FForm = FORM_EMPTY;
};

} // namespace kalvion
