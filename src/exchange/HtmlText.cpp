#include "exchange/HtmlText.h"

namespace kalvion {

void AppendHtml(std::string &out, std::string_view text)
{
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c; break;
        }
    }
}

std::string HtmlEscape(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    AppendHtml(out, text);
    return out;
}

std::string JsAttrEscape(std::string_view text)
{
    static constexpr char HEX[] = "0123456789ABCDEF";
    std::string js;
    js.reserve(text.size() + 8);
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        // Bytes above 127 pass: they are parts of the name's own characters.
        if (c < 0x20 || c == 0x7F || c == '\\' || c == '\'' || c == '"' || c == '<' || c == '>' || c == '&') {
            js += "\\x";
            js += HEX[c >> 4];
            js += HEX[c & 15];
        } else {
            js += ch;
        }
    }
    return js; // nothing left that HTML would read as markup
}

std::optional<std::string> PlainReportFileName(std::string_view name)
{
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    if (name.empty() || name == "." || name == "..")
        return std::nullopt;
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || ch == ':' || ch == '"' || ch == '\'' || ch == '<' || ch == '>' || ch == '&' ||
            ch == '?' || ch == '#' || ch == '%')
            return std::nullopt;
    }
    return std::string(name);
}

} // namespace kalvion
