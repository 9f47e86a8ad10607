#pragma once
// The three most recent sector files of the File menu.
#include <QString>

#include <array>

namespace kalvion::app {

struct TRecentFiles {
    std::array<QString, 3> Entries;

    // A file already listed changes nothing; otherwise it fills the first
    // empty entry, or, when all three are used, the others move up (the
    // first is dropped) and it becomes the third.
    void Add(const QString &file);
    bool Empty() const;
};

} // namespace kalvion::app
