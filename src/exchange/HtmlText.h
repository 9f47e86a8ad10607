#pragma once
// Text written into report pages: sector data is outside text to a browser,
// so every name, note and field is escaped before it becomes markup.
#include <optional>
#include <string>
#include <string_view>

namespace kalvion {

// Appends text with & < > " ' written as character references.
void AppendHtml(std::string &out, std::string_view text);
std::string HtmlEscape(std::string_view text);

// Text for a single-quoted JavaScript string inside an HTML attribute:
// escaped for JavaScript first (quotes, backslashes, markup characters and
// control bytes as \xHH), then for HTML.
std::string JsAttrEscape(std::string_view text);

// A file name the report may write or link: the last component of the
// given name when it is a plain name (no folder part, not "." or "..", no
// control characters, no characters that need quoting in markup); none
// otherwise.  Keeps every written file inside the report's folder.
std::optional<std::string> PlainReportFileName(std::string_view name);

} // namespace kalvion
