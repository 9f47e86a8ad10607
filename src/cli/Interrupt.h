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

} // namespace kalvion::cli
