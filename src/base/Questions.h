#pragma once
// Questions the core asks (through a callback, a prompt object or a script)
// and the answer they get when nobody is there to answer them.

namespace kalvion {

// A Yes/No question that no callback answers counts as No: the answer that
// leaves the sector and the files as they are.  A caller that wants another
// answer without asking anybody passes a callback that gives it.
inline constexpr bool UNANSWERED_QUESTION_ANSWER = false;

} // namespace kalvion
