// Feeds arbitrary text to the script parser and runs whatever parses, with a
// step limit so that endless loops end.  Nothing may crash, hang or leak.
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
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 4096)
        return 0;
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    Silent host;
    kalvion::vbs::Interpreter in;
    in.Host = &host;
    in.SetStepLimit(2000);
    in.MaxDepth = 200;
    try {
        in.Execute(text);
    } catch (const kalvion::vbs::ScriptError &) {
    } catch (const kalvion::vbs::HaltSignal &) {
    }
    return 0;
}
