#pragma once
// Questions the import and export code asks the user.  The window answers
// them with message boxes, kalvion-cli with its options, tests with scripted
// answers; the core never shows a window itself.
#include <string>

namespace kalvion {

class TExchangePrompt {
public:
    virtual ~TExchangePrompt() = default;
    // A warning with Yes and No buttons; true for Yes.
    virtual bool ConfirmWarning(const std::string &caption, const std::string &text) = 0;
};

} // namespace kalvion
