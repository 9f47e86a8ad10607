#include "app/RecentFiles.h"

namespace kalvion::app {

void TRecentFiles::Add(const QString &file)
{
    if (file.isEmpty())
        return;
    for (const auto &e : Entries)
        if (e == file)
            return;
    for (auto &e : Entries) {
        if (e.isEmpty()) {
            e = file;
            return;
        }
    }
    Entries[0] = Entries[1];
    Entries[1] = Entries[2];
    Entries[2] = file;
}

bool TRecentFiles::Empty() const
{
    for (const auto &e : Entries)
        if (!e.isEmpty())
            return false;
    return true;
}

} // namespace kalvion::app
