#pragma once
// A named pipe nobody writes to, for readers that must never open one.  A
// reader that does blocks in its open until a writer comes; after a generous
// grace the pipe lets such a reader through (opening it for writing and
// closing it again, so the reader sees an empty file), so that a faulty
// reader fails its test instead of hanging the run.
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kalvion::test {

class TStuckPipe {
public:
    explicit TStuckPipe(std::string path) : FPath(std::move(path))
    {
        Made = ::mkfifo(FPath.c_str(), 0600) == 0;
        FThread = std::thread([this] {
            std::unique_lock<std::mutex> lock(FLock);
            if (FCond.wait_for(lock, std::chrono::seconds(30), [this] { return FDone; }))
                return;
            // Some reader is still not through: let it go, as often as needed.
            while (!FDone) {
                const int fd = ::open(FPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    FReleased = true;
                    ::close(fd);
                }
                FCond.wait_for(lock, std::chrono::milliseconds(50), [this] { return FDone; });
            }
        });
    }
    ~TStuckPipe() { Finish(); }
    TStuckPipe(const TStuckPipe &) = delete;
    TStuckPipe &operator=(const TStuckPipe &) = delete;

    // Ends the watch; true when a reader had opened the pipe and waited.
    bool Finish()
    {
        {
            std::lock_guard<std::mutex> lock(FLock);
            FDone = true;
        }
        FCond.notify_all();
        if (FThread.joinable())
            FThread.join();
        return FReleased;
    }

    bool Made = false;

private:
    std::string FPath;
    std::thread FThread;
    std::mutex FLock;
    std::condition_variable FCond;
    bool FDone = false;
    bool FReleased = false;
};

} // namespace kalvion::test
