#include "cli/NumberList.h"

#include "base/NumberParse.h"

#include <cmath>

namespace kalvion::cli {

bool ParseNumberList(const std::string &text, std::vector<double> &out)
{
    out.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        const auto v = ParseDouble(std::string_view(text).substr(start, end - start));
        if (!v || !std::isfinite(*v))
            return false;
        out.push_back(*v);
        start = end + 1;
    }
    return true;
}

} // namespace kalvion::cli
