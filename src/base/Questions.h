#pragma once
// Questions the core asks (through a callback, a prompt object or a script)
// and the answer they get when nobody is there to answer them.

namespace kalvion {

// A Yes/No question that no callback answers counts as No: the answer that
// leaves the sector and the files as they are.  A caller that wants another
// answer without asking anybody passes a callback that gives it.
inline constexpr bool UNANSWERED_QUESTION_ANSWER = false;

// The same rule for a message box with a button set (the script language's
// MsgBox codes: 0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel,
// 4 Yes/No, 5 Retry/Cancel): the button that goes no further, Cancel where
// there is one, else No or Abort; a plain message is acknowledged with OK.
inline int UnansweredMessageBoxResult(int buttons) noexcept
{
    switch (buttons & 7) {
    case 1:
    case 3:
    case 5:
    case 6: return 2; // Cancel
    case 2: return 3; // Abort
    case 4: return 7; // No
    default: return 1; // OK
    }
}

} // namespace kalvion
