#include "cli/Interrupt.h"

#include <csignal>

namespace kalvion::cli {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) { gInterrupted = 1; }

} // namespace

TInterruptGuard::TInterruptGuard()
{
    gInterrupted = 0;
    FPrevious = std::signal(SIGINT, OnInterrupt);
}

TInterruptGuard::~TInterruptGuard() { std::signal(SIGINT, FPrevious == SIG_ERR ? SIG_DFL : FPrevious); }

bool Interrupted() noexcept { return gInterrupted != 0; }

} // namespace kalvion::cli
