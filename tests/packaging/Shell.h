#pragma once
// Runs outside programs for the installation tests: the installed programs
// themselves, the validators, cmake, cpack and dpkg.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvion::test {

namespace fs = std::filesystem;

struct Ran {
    int code = -1;
    std::string output;  // standard output and standard error together
};

// Single-quotes a word for /bin/sh.
inline std::string Sh(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline Ran RunShell(const std::string &command)
{
    Ran r;
    const std::string full = "(" + command + ") 2>&1";
    if (FILE *pipe = ::popen(full.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
            r.output.append(buf, n);
        const int status = ::pclose(pipe);
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return r;
}

inline std::string Which(const std::string &program)
{
    const Ran r = RunShell("command -v " + Sh(program));
    if (r.code != 0 || r.output.empty())
        return {};
    std::string path = r.output;
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r'))
        path.pop_back();
    return path;
}

inline std::string ReadAll(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder of the test's own below the temporary folder.
inline fs::path ScratchFolder(const std::string &name)
{
    const fs::path dir = fs::temp_directory_path() / ("kalvion-pkg-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Every file below a folder with its size and change time: what a program
// must leave untouched.
inline std::string Listing(const fs::path &root)
{
    std::string out;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        out += fs::relative(it->path(), root).string();
        if (it->is_regular_file())
            out += " " + std::to_string(it->file_size()) + " " +
                   std::to_string(fs::last_write_time(it->path()).time_since_epoch().count());
        out += "\n";
    }
    return out;
}

} // namespace kalvion::test
