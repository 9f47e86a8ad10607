#include "base/IdentityText.h"

#include <cstring>
#include <ostream>

namespace kalvion {

std::string *TIdentityText::Text() const noexcept
{
    std::string *text;
    std::memcpy(&text, FBytes, sizeof text);
    return text;
}

void TIdentityText::Assign(std::string_view text)
{
    std::uint8_t bytes[16];
    if (ParseCanonicalGuid(text, bytes)) {
        Release();
        std::memcpy(FBytes, bytes, sizeof bytes);
        FForm = FORM_GUID;
        return;
    }
    if (text.empty()) {
        Release();
        return;
    }
    // Made before the old text goes: the new one may be a part of it.
    auto *owned = new std::string(text);
    Release();
    std::memcpy(FBytes, &owned, sizeof owned);
    FForm = FORM_TEXT;
}

void TIdentityText::Release() noexcept
{
    if (FForm == FORM_TEXT)
        delete Text();
    std::memset(FBytes, 0, sizeof FBytes);
    FForm = FORM_EMPTY;
}

TIdentityText::TIdentityText(const TIdentityText &other)
{
    *this = other;
}

TIdentityText::TIdentityText(TIdentityText &&other) noexcept
{
    std::memcpy(FBytes, other.FBytes, sizeof FBytes);
    FForm = other.FForm;
    std::memset(other.FBytes, 0, sizeof other.FBytes);
    other.FForm = FORM_EMPTY;
}

TIdentityText &TIdentityText::operator=(const TIdentityText &other)
{
    if (this == &other)
        return *this;
    if (other.FForm == FORM_TEXT) {
        Assign(*other.Text());
    } else {
        Release();
        std::memcpy(FBytes, other.FBytes, sizeof FBytes);
        FForm = other.FForm;
    }
    return *this;
}

TIdentityText &TIdentityText::operator=(TIdentityText &&other) noexcept
{
    if (this != &other) {
        Release();
        std::memcpy(FBytes, other.FBytes, sizeof FBytes);
        FForm = other.FForm;
        std::memset(other.FBytes, 0, sizeof other.FBytes);
        other.FForm = FORM_EMPTY;
    }
    return *this;
}

TIdentityText TIdentityText::NewGuid()
{
    TIdentityText id;
    NewGuidBytes(id.FBytes);
    id.FForm = FORM_GUID;
    return id;
}

std::size_t TIdentityText::size() const noexcept
{
    switch (FForm) {
    case FORM_GUID: return GUID_TEXT_LENGTH;
    case FORM_TEXT: return Text()->size();
    default: return 0;
    }
}

std::string TIdentityText::str() const
{
    switch (FForm) {
    case FORM_GUID: {
        char text[GUID_TEXT_LENGTH];
        FormatGuid(FBytes, text);
        return std::string(text, GUID_TEXT_LENGTH);
    }
    case FORM_TEXT: return *Text();
    default: return {};
    }
}

std::string_view TIdentityText::View(TBuffer &buffer) const noexcept
{
    switch (FForm) {
    case FORM_GUID: FormatGuid(FBytes, buffer); return {buffer, GUID_TEXT_LENGTH};
    case FORM_TEXT: return *Text();
    default: return {};
    }
}

bool TIdentityText::Equals(std::string_view text) const noexcept
{
    switch (FForm) {
    case FORM_GUID: {
        if (text.size() != GUID_TEXT_LENGTH)
            return false;
        char own[GUID_TEXT_LENGTH];
        FormatGuid(FBytes, own);
        return std::memcmp(own, text.data(), GUID_TEXT_LENGTH) == 0;
    }
    case FORM_TEXT: return *Text() == text;
    default: return text.empty();
    }
}

bool operator==(const TIdentityText &a, const TIdentityText &b) noexcept
{
    if (a.FForm != b.FForm)
        return false; // each text has exactly one form
    switch (a.FForm) {
    case TIdentityText::FORM_GUID: return std::memcmp(a.FBytes, b.FBytes, sizeof a.FBytes) == 0;
    case TIdentityText::FORM_TEXT: return *a.Text() == *b.Text();
    default: return true;
    }
}

std::ostream &operator<<(std::ostream &out, const TIdentityText &id)
{
    return out << id.str();
}

} // namespace kalvion
