#include "base/SafeFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvion {

namespace fs = std::filesystem;

namespace {

void SetError(std::string *error, std::string text)
{
    if (error)
        *error = std::move(text);
}

std::string Reason(int code) { return std::strerror(code); }

// Writes every byte, retrying interrupted and partial writes.
bool WriteAll(int fd, std::string_view bytes, int &code)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            code = errno;
            return false;
        }
        if (n == 0) {
            code = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Closing reports the errors of delayed writes (network and full disks).
bool CloseChecked(int fd, int &code)
{
    if (::close(fd) != 0 && errno != EINTR) {
        code = errno;
        return false;
    }
    return true;
}

std::string UniqueSuffix()
{
    static std::atomic<std::uint64_t> counter{0};
    static const std::uint64_t base = [] {
        std::random_device rd;
        return (static_cast<std::uint64_t>(rd()) << 32) ^ rd() ^ static_cast<std::uint64_t>(::getpid());
    }();
    const std::uint64_t n = base + 0x9E3779B97F4A7C15ULL * ++counter;
    char text[24];
    std::snprintf(text, sizeof text, ".%08x.tmp~", static_cast<unsigned>(n ^ (n >> 32)));
    return text;
}

// Opens a new file exclusively; O_EXCL with O_CREAT never follows a link.
int OpenExclusive(const std::string &path, int &code)
{
    for (;;) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EINTR) {
            code = errno;
            return -1;
        }
    }
}

bool WriteParts(int fd, std::initializer_list<std::string_view> parts, int &code)
{
    for (std::string_view part : parts)
        if (!WriteAll(fd, part, code))
            return false;
    return true;
}

// A device or pipe named as the target is written where it is: replacing
// /dev/stdout or /dev/full by a regular file would be wrong.
bool WriteInPlace(const std::string &fileName, std::initializer_list<std::string_view> parts, std::string *error)
{
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        SetError(error, "cannot open \"" + fileName + "\": " + Reason(errno));
        return false;
    }
    int code = 0;
    const bool written = WriteParts(fd, parts, code);
    const int writeCode = code;
    const bool closed = CloseChecked(fd, code);
    if (!written || !closed) {
        SetError(error, "cannot write \"" + fileName + "\": " + Reason(written ? code : writeCode));
        return false;
    }
    return true;
}

} // namespace

bool ReplaceFileContents(const std::string &fileName, std::initializer_list<std::string_view> parts,
                         std::string *error)
{
    if (fileName.empty()) {
        SetError(error, "no file name");
        return false;
    }
    struct stat target {};
    const bool exists = ::stat(fileName.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode)) {
        SetError(error, "\"" + fileName + "\" is a folder");
        return false;
    }
    // A disk is never a picture or a page, whatever name points at it.
    if (exists && S_ISBLK(target.st_mode)) {
        SetError(error, "\"" + fileName + "\" is a block device");
        return false;
    }
    if (exists && !S_ISREG(target.st_mode))
        return WriteInPlace(fileName, parts, error);

    int code = 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = fileName + UniqueSuffix();
        fd = OpenExclusive(temp, code);
        if (fd < 0 && code != EEXIST)
            break;
    }
    if (fd < 0) {
        SetError(error, "cannot create a file beside \"" + fileName + "\": " + Reason(code));
        return false;
    }
    // The new file keeps the permissions of the one it replaces.
    if (exists)
        (void)::fchmod(fd, target.st_mode & 07777);
    bool ok = WriteParts(fd, parts, code);
    if (ok && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) {
        code = errno;
        ok = false;
    }
    int closeCode = 0;
    if (!CloseChecked(fd, closeCode) && ok) {
        code = closeCode;
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        SetError(error, "cannot write \"" + fileName + "\": " + Reason(code));
        return false;
    }
    if (::rename(temp.c_str(), fileName.c_str()) != 0) {
        code = errno;
        ::unlink(temp.c_str());
        SetError(error, "cannot replace \"" + fileName + "\": " + Reason(code));
        return false;
    }
    return true;
}

bool ReplaceFileContents(const std::string &fileName, std::string_view bytes, std::string *error)
{
    return ReplaceFileContents(fileName, {bytes}, error);
}

bool CreateNewFile(const std::string &fileName, std::string_view bytes, bool *existed, std::string *error)
{
    if (existed)
        *existed = false;
    int code = 0;
    const int fd = OpenExclusive(fileName, code);
    if (fd < 0) {
        if (code == EEXIST && existed)
            *existed = true;
        SetError(error, "cannot create \"" + fileName + "\": " + Reason(code));
        return false;
    }
    bool ok = WriteAll(fd, bytes, code);
    int closeCode = 0;
    if (!CloseChecked(fd, closeCode) && ok) {
        code = closeCode;
        ok = false;
    }
    if (!ok) {
        ::unlink(fileName.c_str());
        SetError(error, "cannot write \"" + fileName + "\": " + Reason(code));
        return false;
    }
    return true;
}

std::string FileReadProblem(const std::string &fileName)
{
    if (fileName.empty())
        return "has no name";
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? "does not exist" : "cannot be read: " + Reason(errno);
    if (S_ISDIR(st.st_mode))
        return "is a folder";
    if (!S_ISREG(st.st_mode))
        return "is not a regular file";
    if (::access(fileName.c_str(), R_OK) != 0)
        return "cannot be read: " + Reason(errno);
    return {};
}

bool SameFilePath(const std::string &a, const std::string &b)
{
    if (a == b)
        return true;
    if (a.empty() || b.empty())
        return false;
    std::error_code ec1, ec2;
    if (fs::exists(a, ec1) && fs::exists(b, ec2)) {
        const bool same = fs::equivalent(a, b, ec1);
        if (!ec1)
            return same;
    }
    ec1.clear();
    ec2.clear();
    const fs::path pa = fs::weakly_canonical(fs::absolute(a, ec1), ec1);
    const fs::path pb = fs::weakly_canonical(fs::absolute(b, ec2), ec2);
    return !ec1 && !ec2 && pa == pb;
}

} // namespace kalvion
