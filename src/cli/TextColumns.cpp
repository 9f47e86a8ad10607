// Plain-text tables: columns padded to their widest cell.
#include "cli/SectorCommands.h"

#include <algorithm>
#include <ostream>

namespace kalvion::cli {

void PrintColumns(const std::vector<std::vector<std::string>> &rows, std::ostream &out)
{
    std::vector<std::size_t> widths;
    for (const auto &row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (widths.size() <= i)
                widths.push_back(0);
            widths[i] = std::max(widths[i], row[i].size());
        }
    for (const auto &row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size())
                line.append(widths[i] - row[i].size() + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out << line << "\n";
    }
}

} // namespace kalvion::cli
