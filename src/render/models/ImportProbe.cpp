#include "render/models/ImportProbe.h"

#include <assimp/cimport.h>

#include <chrono>
#include <thread>

#include <csignal>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvion {

bool ImportSurvives(const std::string &fileName, int timeoutMs, std::string &error)
{
    const pid_t child = ::fork();
    if (child < 0)
        return true;
    if (child == 0) {
        // The child only imports and leaves; _exit skips the parent's
        // handlers, which are not the child's to run.
        const aiScene *scene = aiImportFile(fileName.c_str(), 0);
        if (scene)
            aiReleaseImport(scene);
        ::_exit(0);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0) {
            error = "the model file could not be tried";
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            error = "reading the model file does not end";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    error = "the model file breaks the importer";
    return false;
}

} // namespace kalvion
