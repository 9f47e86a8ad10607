#pragma once
// Text helpers of the table markup.  A "\" escapes the character after it:
// every search here skips escaped characters, so "\[" never opens a tag and
// "\=" never assigns.  Positions are 0-based; -1 means not found.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

// The first occurrence of what at or after start that is not escaped.
std::int32_t PosEsc(std::string_view what, std::string_view text, std::int32_t start = 0) noexcept;
// As PosEsc, ignoring ASCII case.
std::int32_t PosEscText(std::string_view what, std::string_view text, std::int32_t start = 0) noexcept;
// Drops each "\" and keeps the character after it literally.
std::string UnEsc(std::string_view text);
// The closing mark that ends a tag whose inside starts at start: every opener
// met raises the depth, a closer at depth 0 ends the scan.  "[when]" and
// "[when not]" both open an "[end]" (compared ignoring case).
std::int32_t FindClose(std::string_view text, std::int32_t start, std::string_view opener,
                       std::string_view closer) noexcept;
// The text between the first open mark and the first close mark after it.
std::string ExtractTKTag(std::string_view text, std::string_view open, std::string_view close);
// Splits at the first unescaped separator; false (left = text) when absent.
bool SplitAtTag(std::string_view text, std::string_view separator, std::string &left, std::string &right);
// Splits the inside of a "[when]" tag into condition, "[do]" text and
// "[else]" text; separators inside nested conditions do not count.  False
// without a "[do]".
bool SplitTags(std::string_view text, std::string &condition, std::string &yes, std::string &no);
// Splits at every separator (SplitEsc: every unescaped one); pieces trimmed.
void SplitToList(std::string_view text, std::string_view separator, std::vector<std::string> &list);
void SplitEsc(std::string_view text, std::string_view separator, std::vector<std::string> &list);

// A condition: "<>", ">", "<" or "=" between two sides compared as numbers
// when both are numbers, else as exact text.  Empty is false; a text without
// an operator is true.
bool EvalConditional(std::string_view text);
// Rolls a text containing "d" as dice, anything else with the calculator.
bool FullEvalExpression(std::string_view text, double &value, std::string &message);
// EvalDice with the markup's bounds: false for an unreadable expression or
// more than TK_MAX_DICE_COUNT dice.
bool TKEvalDice(std::string_view text, std::int32_t &value);

// "\n", "\t", "\z", "\_" and then the "\a" articles.
std::string ProcessEscapes(std::string_view text);
// Every "\a" becomes "a" or "an" by the word after it.
std::string ResolveArticles(std::string_view text);
// Words that take "an" though they start with a consonant ("hour...").
bool IsAAN_AN_Exception(std::string_view word) noexcept;
// Words that take "a" though they start with a vowel ("union...").
bool IsAAN_A_Exception(std::string_view word) noexcept;

} // namespace kalvion
