#include "base/RegularFileRead.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvion {

namespace {

struct TFd {
    int Fd;
    ~TFd()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
};

TRegularFileRead Fail(TRegularFileRead why, std::string &out)
{
    out.clear();
    return why;
}

} // namespace

TRegularFileRead ReadRegularFile(const std::string &path, std::size_t maxBytes, std::string &out)
{
    out.clear();
    // A device is not even opened: opening one can have effects of its own.
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0)
        return errno == EACCES ? TRegularFileRead::Unreadable : TRegularFileRead::Missing;
    if (!S_ISREG(named.st_mode))
        return TRegularFileRead::NotRegular;
    // The name may be swapped for a pipe between the look and the open;
    // without O_NONBLOCK the open of a pipe nobody writes to never returns.
    TFd fd{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (fd.Fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? TRegularFileRead::Missing : TRegularFileRead::Unreadable;
    struct stat st {};
    if (::fstat(fd.Fd, &st) != 0)
        return TRegularFileRead::Unreadable;
    if (!S_ISREG(st.st_mode))
        return TRegularFileRead::NotRegular;
    if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > maxBytes)
        return TRegularFileRead::TooLarge;
    const int flags = ::fcntl(fd.Fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd.Fd, F_SETFL, flags & ~O_NONBLOCK);
    out.reserve(static_cast<std::size_t>(st.st_size));
    // The size may change while we read: the cap holds whatever stat said.
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Fail(TRegularFileRead::Unreadable, out);
        if (n == 0)
            break;
        if (out.size() + static_cast<std::size_t>(n) > maxBytes)
            return Fail(TRegularFileRead::TooLarge, out);
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return TRegularFileRead::Ok;
}

} // namespace kalvion
