#pragma once
// Writing files without losing what was there and without being steered by
// names planted in the target's folder.  A replaced file is written to a new
// file of a unique name beside it, created exclusively (an existing name or
// a symbolic link there makes the creation fail instead of being followed),
// and renamed over the target only once every write, the flush and the close
// succeeded.  A failure leaves the old file as it was and says why.
#include <initializer_list>
#include <memory>
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

// The same replacement written piece by piece, for files too large to be
// held whole: Open makes the new file, Write adds bytes (buffered), Commit
// flushes, closes and renames.  After a failed write later writes do
// nothing and Commit fails with the reason; a writer destroyed without a
// successful Commit removes its new file and leaves the old one as it was.
class TSafeFileWriter {
public:
    TSafeFileWriter();
    ~TSafeFileWriter();
    TSafeFileWriter(const TSafeFileWriter &) = delete;
    TSafeFileWriter &operator=(const TSafeFileWriter &) = delete;

    bool Open(const std::string &fileName, std::string *error = nullptr);
    void Write(std::string_view bytes);
    bool Commit(std::string *error = nullptr);
    bool Failed() const;

private:
    struct TState;
    std::unique_ptr<TState> F;
};

// An unnamed scratch file in a folder, for bytes that must wait before they
// go to their place in another file: written in pieces, then copied out
// once.  It has no name in the folder, and its space is freed when it is
// destroyed however the work ended.
class TScratchFile {
public:
    TScratchFile();
    ~TScratchFile();
    TScratchFile(const TScratchFile &) = delete;
    TScratchFile &operator=(const TScratchFile &) = delete;

    bool Open(const std::string &folder, std::string *error = nullptr);
    void Write(std::string_view bytes);
    // Appends everything written so far to out; false (with the reason)
    // when a write or the reading back failed.
    bool CopyTo(TSafeFileWriter &out, std::string *error = nullptr);

private:
    struct TState;
    std::unique_ptr<TState> F;
};

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
