// Feeds arbitrary text to the script parser and runs whatever parses, with a
// step limit so that endless loops end; then uses the same text as a regular
// expression, matched against itself by every RegExp method, and as the text
// of Escape and Unescape.  Nothing may crash, hang or leak.
#include "scripting/vbs/Interpreter.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {
class Silent final : public kalvion::vbs::HostServices {
public:
    int MsgBox(const std::string &, int, const std::string &) override { return 1; }
    std::optional<std::string> InputBox(const std::string &, const std::string &, const std::string &) override
    {
        return std::string();
    }
};

// The input is the global FuzzText; the flags come from its length so that
// every combination is reached.
constexpr const char *kPatternDriver = R"(On Error Resume Next
Set r = New RegExp
r.Pattern = FuzzText
r.IgnoreCase = (Len(FuzzText) Mod 2 = 1)
r.Global = (Len(FuzzText) Mod 3 <> 0)
r.Multiline = (Len(FuzzText) Mod 5 < 2)
x = r.Test(FuzzText)
For Each m In r.Execute(FuzzText)
    y = m.Value & m.FirstIndex & m.Length & m.SubMatches.Count
    For Each s In m.SubMatches
        y = y & s
    Next
Next
z = r.Replace(FuzzText, "$1$2$10$&$`$'$$" & FuzzText)
z = Unescape(Escape(FuzzText)) & Unescape(FuzzText)
)";

void Run(std::string_view text, bool asPattern)
{
    Silent host;
    kalvion::vbs::Interpreter in;
    in.Host = &host;
    in.SetStepLimit(2000);
    in.MaxDepth = 200;
    // Sanitizers make every matching step slow; a smaller budget still
    // reaches the limit paths without running into the fuzzer's time-out.
    in.RegExpSteps = 200'000;
    try {
        if (asPattern) {
            in.AddGlobal("FuzzText", kalvion::vbs::Variant::Str(text));
            in.Execute(kPatternDriver);
        } else {
            in.Execute(text);
        }
    } catch (const kalvion::vbs::ScriptError &) {
    } catch (const kalvion::vbs::HaltSignal &) {
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 4096)
        return 0;
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    Run(text, false);
    Run(text, true);
    return 0;
}
