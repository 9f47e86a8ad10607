#include "cli/Interrupt.h"

#include <csignal>

#include <unistd.h>

namespace kalvion::cli {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;
volatile std::sig_atomic_t gTerminated = 0;

extern "C" void OnInterrupt(int) { gInterrupted = 1; }
extern "C" void OnTerminate(int) { gTerminated = 1; }

} // namespace

TInterruptGuard::TInterruptGuard()
{
    gInterrupted = 0;
    FPrevious = std::signal(SIGINT, OnInterrupt);
}

TInterruptGuard::~TInterruptGuard() { std::signal(SIGINT, FPrevious == SIG_ERR ? SIG_DFL : FPrevious); }

bool Interrupted() noexcept { return gInterrupted != 0; }

TTerminateGuard::TTerminateGuard()
{
    gTerminated = 0;
    FPrevious = std::signal(SIGTERM, OnTerminate);
}

TTerminateGuard::~TTerminateGuard() { std::signal(SIGTERM, FPrevious == SIG_ERR ? SIG_DFL : FPrevious); }

bool Terminated() noexcept { return gTerminated != 0; }

void DieOfTermination()
{
    std::signal(SIGTERM, SIG_DFL);
    std::raise(SIGTERM);
    ::_exit(128 + SIGTERM);  // only where the signal is blocked
}

} // namespace kalvion::cli
