#pragma once
// Reading a whole file that came from outside (a plug-in, a script, a file a
// script inserts) without being held up by it: only regular files are read,
// a pipe or a device is refused before any byte is taken from it (the open
// itself does not wait for a writer), and nothing beyond a size cap is kept.
#include <cstddef>
#include <string>

namespace kalvion {

enum class TRegularFileRead {
    Ok,
    Missing,    // no such file (or a link to nothing)
    NotRegular, // a folder, a pipe, a device, a socket
    TooLarge,   // more than the cap
    Unreadable, // no permission or a read error
};

// Reads path into out (cleared first) when it is a regular file of at most
// maxBytes bytes.  Links are followed.  On anything but Ok, out is empty.
TRegularFileRead ReadRegularFile(const std::string &path, std::size_t maxBytes, std::string &out);

} // namespace kalvion
