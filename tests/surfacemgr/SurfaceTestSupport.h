#pragma once
// Temporary folders, event-loop waits and small maps for the surface tests.
#include "surface/manager/SurfaceMapMaking.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace kalvion::test {

inline std::string NewGuid(int n)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-0000-4000-8000-000000000000}", n);
    return buf;
}

// Runs the event loop until the condition holds; false when it still does
// not after a generous time (a hang is a failure, not a timing assertion).
inline bool WaitUntil(const std::function<bool()> &done, int limitMs = 120000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

inline TMapBytes TinyPng(int shade)
{
    QImage img(4, 2, QImage::Format_RGB32);
    img.fill(qRgb(shade, shade, shade));
    TMapBytes out;
    EncodeMapPng(img, out);
    return out;
}

inline std::string ReadAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteAll(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// Points the user's data folder at a temporary folder for one test.
class TUserDataFolder {
public:
    TUserDataFolder()
    {
        const char *old = std::getenv("XDG_DATA_HOME");
        Had_ = old != nullptr;
        if (Had_)
            Old_ = old;
        setenv("XDG_DATA_HOME", Dir_.path().toStdString().c_str(), 1);
    }
    ~TUserDataFolder()
    {
        if (Had_)
            setenv("XDG_DATA_HOME", Old_.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }
    std::string Path() const { return Dir_.path().toStdString() + "/"; }

private:
    QTemporaryDir Dir_;
    bool Had_ = false;
    std::string Old_;
};

} // namespace kalvion::test
