#pragma once
// GL tests need an X display.  Where none is set (CI, a plain terminal) the
// test program starts a private Xvfb of its own, which ends with it.  Mesa's
// software renderer draws either way, so pictures do not depend on a card.
#include <csignal>
#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
#endif
#include <cstdlib>
#include <string>

#include <poll.h>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvion::test {

// Under the leak checker, Mesa's GL libraries stay loaded until the process
// ends: what they keep for the process is then reported under their names,
// which the suppressions list, not under an unloaded "unknown module".
inline void KeepGLDriversLoaded()
{
#if defined(__SANITIZE_ADDRESS__)
    // Mesa's own threads (the shader cache's writer, the rasteriser's
    // workers) can be ending while the leak checker stops the world, which
    // then crashes now and again: the tests draw without them.
    ::setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    ::setenv("LP_NUM_THREADS", "0", 0);
    for (const char *name : {"libGLX_mesa.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
                             "/usr/lib/x86_64-linux-gnu/dri/kms_swrast_dri.so"})
        ::dlopen(name, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
#endif
}

inline void EnsureXDisplay()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    KeepGLDriversLoaded();
    ::setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    const char *display = std::getenv("DISPLAY");
    if (display && *display)
        return;
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive the tests
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1200x24", "-nolisten", "tcp",
                 "+extension", "GLX", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        return;
    }
    // Xvfb writes the number of the display it took once it is ready.
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (::poll(&p, 1, 20000) > 0) {
        char c;
        if (::read(fds[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    ::close(fds[0]);
    if (number.empty())
        return;
    ::setenv("DISPLAY", (":" + number).c_str(), 1);
    static pid_t server = pid;
    std::atexit([] {
        ::kill(server, SIGTERM);
        ::waitpid(server, nullptr, 0);
    });
}

} // namespace kalvion::test
