#pragma once
// Older sector files named on the command line.  The window's Open asks
// before it converts one and lets the user name the new file; a file the
// program was started with is converted beside itself without a question.
#include <QString>

namespace kalvion::app {

// A stream or record file of an earlier version.
bool IsOlderSectorFile(const QString &file);

// Converts the older file into a sector database beside it, named like it
// with the extension ".VexaDB", or "name (2).VexaDB", "name (3).VexaDB" …
// when that name is taken.  The new file, or "" with the reason in error.
QString ConvertBesideOriginal(const QString &file, QString *error);

} // namespace kalvion::app
