#pragma once
// File access of the random-table engine: reading table files as lines and
// finding include files on a case-sensitive file system.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

// The file's lines without their line ends (LF, CR LF or a lone CR at the
// end).  False when the file cannot be read or would pass budget bytes;
// budget is lowered by the bytes read.
bool ReadTableLines(const std::string &path, std::vector<std::string> &lines, std::size_t &budget);
// The path itself when it names a regular file, else the one path whose
// components match it ignoring ASCII case; empty when there is none.  "\" in
// the path counts as a folder separator.
std::string FindFileIgnoreCase(std::string_view path);
// A name that identifies a file however it was reached.
std::string CanonicalFileName(const std::string &path);

} // namespace kalvion
