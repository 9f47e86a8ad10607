// The calculator is fed table and script text: any bytes must end in a value
// or a failure, never a crash, a hang or a stray message.
#include "science/CalcExpress.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    double value = 0;
    std::string message;
    const bool ok = kalvion::CalcExpression(text, value, message);
    if (ok && !message.empty())
        std::abort();
    if (!ok && value != 0)
        std::abort();
    if (!message.empty() && message != "Wrong number.")
        std::abort();
    if (ok)
        (void)kalvion::CalcResultText(value);
    return 0;
}
