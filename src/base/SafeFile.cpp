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

// Large enough that a page of many small pieces costs few system calls.
constexpr std::size_t WRITE_BUFFER = 256 * 1024;

// Buffered writes to a descriptor that remember the first failure.
struct TBufferedFd {
    int Fd = -1;
    int Code = 0;
    std::string Buffer;

    void Write(std::string_view bytes)
    {
        if (Fd < 0 || Code != 0)
            return;
        if (Buffer.size() + bytes.size() > WRITE_BUFFER) {
            Flush();
            if (bytes.size() >= WRITE_BUFFER) {
                if (Code == 0)
                    WriteAll(Fd, bytes, Code);
                return;
            }
        }
        Buffer.append(bytes);
    }
    bool Flush()
    {
        if (Fd >= 0 && Code == 0 && !Buffer.empty())
            WriteAll(Fd, Buffer, Code);
        Buffer.clear();
        return Code == 0;
    }
    // Closes (when open) and returns the first failure, if any.
    int Close()
    {
        if (Fd < 0)
            return Code;
        int closeCode = 0;
        if (!CloseChecked(Fd, closeCode) && Code == 0)
            Code = closeCode;
        Fd = -1;
        return Code;
    }
};

} // namespace

struct TSafeFileWriter::TState {
    std::string FileName, Temp;
    TBufferedFd Out;
    bool InPlace = false;
    std::string OpenError;
};

TSafeFileWriter::TSafeFileWriter() : F(std::make_unique<TState>()) {}

TSafeFileWriter::~TSafeFileWriter()
{
    F->Out.Close();
    if (!F->Temp.empty())
        ::unlink(F->Temp.c_str());
}

bool TSafeFileWriter::Failed() const { return F->Out.Fd < 0 || F->Out.Code != 0; }

bool TSafeFileWriter::Open(const std::string &fileName, std::string *error)
{
    F->Out.Close();
    if (!F->Temp.empty())
        ::unlink(F->Temp.c_str());
    *F = TState{};
    F->FileName = fileName;
    auto fail = [&](std::string text) {
        F->OpenError = text;
        SetError(error, std::move(text));
        return false;
    };
    if (fileName.empty())
        return fail("no file name");
    struct stat target {};
    const bool exists = ::stat(fileName.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode))
        return fail("\"" + fileName + "\" is a folder");
    // A disk is never a picture or a page, whatever name points at it.
    if (exists && S_ISBLK(target.st_mode))
        return fail("\"" + fileName + "\" is a block device");
    // A device or pipe named as the target is written where it is: replacing
    // /dev/stdout or /dev/full by a regular file would be wrong.
    if (exists && !S_ISREG(target.st_mode)) {
        const int fd = ::open(fileName.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            return fail("cannot open \"" + fileName + "\": " + Reason(errno));
        F->Out.Fd = fd;
        F->InPlace = true;
        return true;
    }
    int code = 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = fileName + UniqueSuffix();
        fd = OpenExclusive(temp, code);
        if (fd < 0 && code != EEXIST)
            break;
    }
    if (fd < 0)
        return fail("cannot create a file beside \"" + fileName + "\": " + Reason(code));
    // The new file keeps the permissions of the one it replaces.
    if (exists)
        (void)::fchmod(fd, target.st_mode & 07777);
    F->Out.Fd = fd;
    F->Temp = temp;
    return true;
}

void TSafeFileWriter::Write(std::string_view bytes) { F->Out.Write(bytes); }

bool TSafeFileWriter::Commit(std::string *error)
{
    if (F->Out.Fd < 0) {
        SetError(error, F->OpenError.empty() ? "\"" + F->FileName + "\" was not opened" : F->OpenError);
        return false;
    }
    TBufferedFd &out = F->Out;
    out.Flush();
    if (!F->InPlace && out.Code == 0 && ::fsync(out.Fd) != 0 && errno != EINVAL && errno != EROFS)
        out.Code = errno;
    const int code = out.Close();
    if (F->InPlace) {
        if (code == 0)
            return true;
        SetError(error, "cannot write \"" + F->FileName + "\": " + Reason(code));
        return false;
    }
    const std::string temp = std::move(F->Temp);
    F->Temp.clear();
    if (code != 0) {
        ::unlink(temp.c_str());
        SetError(error, "cannot write \"" + F->FileName + "\": " + Reason(code));
        return false;
    }
    if (::rename(temp.c_str(), F->FileName.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        SetError(error, "cannot replace \"" + F->FileName + "\": " + Reason(code));
        return false;
    }
    return true;
}

struct TScratchFile::TState {
    TBufferedFd Out;
    std::string OpenError;
};

TScratchFile::TScratchFile() : F(std::make_unique<TState>()) {}

TScratchFile::~TScratchFile() { F->Out.Close(); }

bool TScratchFile::Open(const std::string &folder, std::string *error)
{
    F->Out.Close();
    *F = TState{};
    const std::string dir = folder.empty() ? std::string(".") : folder;
    int fd = -1;
    int code = 0;
#ifdef O_TMPFILE
    fd = ::open(dir.c_str(), O_RDWR | O_TMPFILE | O_CLOEXEC, 0600);
    if (fd < 0)
        code = errno;
#endif
    // Where the file system has no unnamed files, a new name is made and
    // removed at once.
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        const std::string name = (fs::path(dir) / ("scratch" + UniqueSuffix())).string();
        fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
            ::unlink(name.c_str());
            break;
        }
        code = errno;
        if (code != EEXIST && code != EINTR)
            break;
    }
    if (fd < 0) {
        F->OpenError = "cannot create a scratch file in \"" + dir + "\": " + Reason(code);
        SetError(error, F->OpenError);
        return false;
    }
    F->Out.Fd = fd;
    return true;
}

void TScratchFile::Write(std::string_view bytes) { F->Out.Write(bytes); }

bool TScratchFile::CopyTo(TSafeFileWriter &out, std::string *error)
{
    TBufferedFd &in = F->Out;
    if (in.Fd < 0) {
        SetError(error, F->OpenError.empty() ? std::string("no scratch file") : F->OpenError);
        return false;
    }
    if (!in.Flush()) {
        SetError(error, "cannot write a scratch file: " + Reason(in.Code));
        return false;
    }
    if (::lseek(in.Fd, 0, SEEK_SET) != 0) {
        SetError(error, "cannot read a scratch file: " + Reason(errno));
        return false;
    }
    std::string chunk(WRITE_BUFFER, '\0');
    for (;;) {
        const ssize_t n = ::read(in.Fd, chunk.data(), chunk.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            SetError(error, "cannot read a scratch file: " + Reason(errno));
            return false;
        }
        if (n == 0)
            break;
        out.Write(std::string_view(chunk.data(), static_cast<std::size_t>(n)));
    }
    // Later writes go on at the end.
    (void)::lseek(in.Fd, 0, SEEK_END);
    return true;
}

bool ReplaceFileContents(const std::string &fileName, std::initializer_list<std::string_view> parts,
                         std::string *error)
{
    TSafeFileWriter out;
    if (!out.Open(fileName, error))
        return false;
    for (std::string_view part : parts)
        out.Write(part);
    return out.Commit(error);
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
