#pragma once
// Writing files without losing what was there and without being steered by
// names planted in the target's folder.  A replaced file is written to a new
// file of a unique name beside it, created exclusively (an existing name or
// a symbolic link there makes the creation fail instead of being followed),
// and renamed over the target only once every write, the flush and the close
// succeeded.  A failure leaves the old file as it was and says why.
#include <initializer_list>
#include <string>
#include <string_view>

namespace kalvion {

// Replaces (or creates) fileName with the concatenated parts; the new file
// keeps the old one's permissions.  A symbolic link at the target is replaced
// by the new file, never written through.  A target that exists and is not a
// regular file (a terminal, a pipe, /dev/full) is written in place, each
// write checked; a block device is refused.  False with the reason in error.
bool ReplaceFileContents(const std::string &fileName, std::initializer_list<std::string_view> parts,
                         std::string *error = nullptr);
bool ReplaceFileContents(const std::string &fileName, std::string_view bytes, std::string *error = nullptr);

// Creates fileName with the bytes only when nothing of that name exists (a
// dangling symbolic link counts as existing).  False with *existed set when
// the name was taken; false with the reason in error on a failed write, in
// which case the partly written file is removed again.
bool CreateNewFile(const std::string &fileName, std::string_view bytes, bool *existed = nullptr,
                   std::string *error = nullptr);

// Why fileName cannot be opened for reading as a file: "does not exist", "is
// a folder", "is not a regular file", "cannot be read: <reason>"; empty when
// it can.
std::string FileReadProblem(const std::string &fileName);

// True when both paths name the same file: the same file on disk when both
// exist (links and hard links included), else the same path once made
// absolute and "." and ".." and links are resolved.  Empty paths name none.
bool SameFilePath(const std::string &a, const std::string &b);

} // namespace kalvion
