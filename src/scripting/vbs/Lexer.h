#pragma once
// Splits script text into tokens with zero-based line and column.  Keywords
// are recognised ignoring case; ':' and line ends both end a statement; a
// blank-preceded '_' at the end of a line continues the statement.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion::vbs {

enum class Tok : std::uint8_t { End, Newline, Colon, Ident, Number, String, Date, Op };

enum Kw : std::uint8_t {
    KW_NONE,
    KW_AND, KW_BYREF, KW_BYVAL, KW_CALL, KW_CASE, KW_CLASS, KW_CONST, KW_DIM, KW_DO, KW_EACH, KW_ELSE,
    KW_ELSEIF, KW_EMPTY, KW_END, KW_EQV, KW_ERASE, KW_ERROR, KW_EXIT, KW_EXPLICIT, KW_FALSE, KW_FOR,
    KW_FUNCTION, KW_GET, KW_GOTO, KW_IF, KW_IMP, KW_IN, KW_IS, KW_LET, KW_LOOP, KW_ME, KW_MOD, KW_NEW,
    KW_NEXT, KW_NOT, KW_NOTHING, KW_NULL, KW_ON, KW_OPTION, KW_OR, KW_PRESERVE, KW_PRIVATE, KW_PROPERTY,
    KW_PUBLIC, KW_REDIM, KW_RESUME, KW_SELECT, KW_SET, KW_STEP, KW_STOP, KW_SUB, KW_THEN, KW_TO,
    KW_TRUE, KW_UNTIL, KW_WEND, KW_WHILE, KW_WITH, KW_XOR, KW_DEFAULT,
};

struct Token {
    Tok Type = Tok::End;
    Kw Keyword = KW_NONE; // for identifiers that are keywords
    bool Reserved = false; // a keyword that can never name a variable
    std::string Text;      // identifier as written, string contents, or operator
    double Num = 0;
    std::uint16_t NumType = 0; // VT_I2, VT_I4 or VT_R8 for numbers
    int Line = 0, Col = 0;
    bool SpaceBefore = false; // blanks separate it from the previous token
};

// Throws ScriptError (with line and column) on a bad character, number or string.
std::vector<Token> Tokenize(std::string_view text);

} // namespace kalvion::vbs
