#pragma once
// Constants of the random-table engine, as scripts see them, and the engine's
// own bounds on outside input.
#include <cstdint>
#include <string>
#include <string_view>

namespace kalvion {

inline constexpr std::int32_t TK_MAX_REPS = 100;
inline constexpr std::int32_t TK_MAX_ARRAY_SIZE = 100;
// Longer texts are not expanded at all.
inline constexpr std::int32_t TK_MAKE_LINELEN = 4000;
inline constexpr std::int32_t TK_ROLL_RANDOM = 0;
inline constexpr std::int32_t TK_ROLL_DICE = 1;
inline constexpr std::int32_t TK_TYPE_WEIGHTED = 0;
inline constexpr std::int32_t TK_TYPE_LOOKUP = 1;
inline constexpr std::string_view TK_APP_NAME = "Idealoom";
inline constexpr std::string_view TK_NEWLINE = "\r\n";
inline constexpr std::string_view TK_NEWLINE_CRLF = "\r\n";
inline constexpr std::string_view TK_NEWLINE_LF = "\n";
inline constexpr std::string_view TK_ESC_CHAR = "\\";
inline constexpr std::string_view TK_VERSION = "2.01";
inline constexpr std::string_view TK_OS = "Windows";
inline constexpr std::string_view TK_DIR_SEPERATOR = "\\";
inline constexpr std::string_view TK_LIB_PATH = "Common\\";
inline constexpr std::string_view TK_TABLE_PATH = "Generators\\";
inline constexpr std::int32_t TK_FORMATTING_HTML = 0;
inline constexpr std::int32_t TK_FORMATTING_TEXT = 1;

inline constexpr std::int32_t TK_TAG_NONE = 0;
inline constexpr std::int32_t TK_TAG_SUBTABLE = 1;
inline constexpr std::int32_t TK_TAG_NUMPICK = 2;
inline constexpr std::int32_t TK_TAG_DECKPICK = 3;
inline constexpr std::int32_t TK_TAG_INLINE = 4;
inline constexpr std::int32_t TK_TAG_VAR = 5;
inline constexpr std::int32_t TK_TAG_MATH = 6;
inline constexpr std::int32_t TK_TAG_DICE = 7;
inline constexpr std::int32_t TK_TAG_LITERAL = 8;
inline constexpr std::int32_t TK_TAG_WHEN = 9;

// --- Bounds on outside input (not visible to scripts) ---------------------
// Passes of one ProcessLine; a runaway text keeps its remaining markup.
inline constexpr std::int32_t TK_MAX_PASSES = 1000;
// Picks nested inside picks; a table that picks from itself ends here with an
// empty pick instead of exhausting the stack.
inline constexpr std::int32_t TK_MAX_NESTING = 64;
// ProcessLine calls nested inside each other (tags inside tags, picks).
inline constexpr std::int32_t TK_MAX_LINE_DEPTH = 256;
// Picks of one tag ("[@100000 name]" picks this many).
inline constexpr std::int32_t TK_MAX_PICK_COUNT = 1000;
// Dice of one roll ("{100000d6}" gives an empty value).
inline constexpr std::int32_t TK_MAX_DICE_COUNT = 10000;
// A working text or a joined pick list stops growing past this length.
inline constexpr std::size_t TK_MAX_TEXT_LEN = 256 * 1024;
// Work units (passes, picks, every 1 KiB of text scanned or 256 bytes picked)
// for one repetition of a generation or one outside ProcessLine call.
inline constexpr std::int64_t TK_WORK_BUDGET = 20000;
// Live variables: at most this many names and this many bytes of values.
inline constexpr std::size_t TK_MAX_VARIABLES = 10000;
inline constexpr std::size_t TK_MAX_VARIABLE_BYTES = 16 * 1024 * 1024;
inline constexpr std::int32_t TK_MAX_PROMPTS = 5;
// "\a" articles resolved per text.
inline constexpr std::int32_t TK_MAX_AAN = 1000;
// Size of all the files of one load together.
inline constexpr std::size_t TK_MAX_LOAD_BYTES = 64 * 1024 * 1024;

// The registered variable TK_LAST_ERROR: the last load error of any table
// application.  Guarded, since a sector-generation worker loads tables too.
std::string TKLastError();
void SetTKLastError(std::string text);

} // namespace kalvion
