#pragma once
// Ctrl-C in long commands: while a guard lives, SIGINT only raises a flag
// that the command polls, so it can stop its work the way Escape does in
// the window and keep what was made.
namespace kalvion::cli {

class TInterruptGuard {
public:
    TInterruptGuard();
    ~TInterruptGuard();
    TInterruptGuard(const TInterruptGuard &) = delete;
    TInterruptGuard &operator=(const TInterruptGuard &) = delete;

private:
    void (*FPrevious)(int);
};

// True once Ctrl-C was pressed under the current guard.
bool Interrupted() noexcept;

// A command that leaves scratch files on disk while it works holds this
// guard: SIGTERM then only raises a flag, so the command can remove them,
// and ends the process by the signal afterwards (DieOfTermination).
class TTerminateGuard {
public:
    TTerminateGuard();
    ~TTerminateGuard();
    TTerminateGuard(const TTerminateGuard &) = delete;
    TTerminateGuard &operator=(const TTerminateGuard &) = delete;

private:
    void (*FPrevious)(int);
};

// True once SIGTERM arrived under the current guard.
bool Terminated() noexcept;

// Ends the process the way SIGTERM would have ended it: whoever waits for it
// sees it killed by the signal.
[[noreturn]] void DieOfTermination();

} // namespace kalvion::cli
