#pragma once
// The arithmetic calculator of the table markup and of dice-less table
// expressions.  Text is parsed into a tree of nodes and evaluated in double
// precision; division faults give infinities or NaN and still succeed.
//
// The grammar is small but particular: a "-" in front of a digit at the start
// or after "(" belongs to the number (-2^2 is 4), a negated term wraps the
// whole term (-(2)*3 is -(2*3)), a sign right after an operator is an error
// (2*-3), an exponent is one number or name, optionally in parentheses, and
// powers associate to the left (2^3^2 is 64).
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

// Token and node kinds; the same numbers serve both.
inline constexpr std::int32_t CALC_END = 0;
inline constexpr std::int32_t CALC_OPEN = 1;
inline constexpr std::int32_t CALC_CLOSE = 2;
inline constexpr std::int32_t CALC_ADD = 3;
inline constexpr std::int32_t CALC_SUB = 4;
inline constexpr std::int32_t CALC_MUL = 5;
inline constexpr std::int32_t CALC_DIV = 6;
inline constexpr std::int32_t CALC_NUMBER = 7;
inline constexpr std::int32_t CALC_NAME = 8;
inline constexpr std::int32_t CALC_NEGATE = 9;
inline constexpr std::int32_t CALC_COS = 10;
inline constexpr std::int32_t CALC_SIN = 11;
inline constexpr std::int32_t CALC_TG = 12;
inline constexpr std::int32_t CALC_CTG = 13;
inline constexpr std::int32_t CALC_ABS = 14;
inline constexpr std::int32_t CALC_SGN = 15;
inline constexpr std::int32_t CALC_SQRT = 16;
inline constexpr std::int32_t CALC_LN = 17;
inline constexpr std::int32_t CALC_EXP = 18;
inline constexpr std::int32_t CALC_ARCSIN = 19;
inline constexpr std::int32_t CALC_ARCCOS = 20;
inline constexpr std::int32_t CALC_ARCTG = 21;
inline constexpr std::int32_t CALC_MOD = 22;
inline constexpr std::int32_t CALC_ROUND = 23;
inline constexpr std::int32_t CALC_FLOOR = 24;
inline constexpr std::int32_t CALC_CEIL = 25;
inline constexpr std::int32_t CALC_CTH = 26;
inline constexpr std::int32_t CALC_HEAVISIDE = 27;
inline constexpr std::int32_t CALC_POWER = 31;

// Parentheses nest at most this deep; deeper text is refused rather than
// risking the parser's stack.
inline constexpr std::int32_t CALC_MAX_DEPTH = 256;

// A node of the parsed tree.  Nodes live in one array in the order they were
// made, so every node's operands stand before it and the last node is the
// root; Left and Right are indices into that array (-1 for none).
struct TExprNode {
    std::int32_t Kind = 0;
    std::string Text;  // a number as written, or a name's index in Names
    std::int32_t Left = -1;
    std::int32_t Right = -1;
};

// A fault while evaluating a parsed tree.
class ECalcEvalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TCalcExpress {
public:
    TCalcExpress();

    // Parses the text, lower-cased.  After an error the tree is empty.
    void SetExpression(std::string_view text);
    bool HasError() const noexcept { return FError; }
    // "Wrong number." after a malformed number, otherwise empty.
    const std::string &ErrorMessage() const noexcept { return FErrorMessage; }
    bool HasTree() const noexcept { return !FNodes.empty(); }
    const std::vector<TExprNode> &Tree() const noexcept { return FNodes; }
    void FreeTree() noexcept { FNodes.clear(); }

    // The value of the tree, values[i] standing for Names[i].  Throws
    // ECalcEvalError when there is no tree, a number does not convert, a
    // variable has no value, or an integer function gets a value outside its
    // range.
    double Evaluate(const std::vector<double> &values = {}) const;

    // Variable names; the program's callers replace their variables in the
    // text first, so this normally stays empty and any name is an error.
    std::vector<std::string> Names;

private:
    friend class TCalcParser;
    bool FError = false;
    std::string FErrorMessage;
    std::string FText;
    std::vector<TExprNode> FNodes;
};

// Parses and evaluates text.  True with the value; false with the message
// ("Wrong number." or empty) after a parse error; false, value 0 and an empty
// message after a fault during evaluation.
bool CalcExpression(std::string_view text, double &value, std::string &message);

// A result as the program writes it: the shortest decimal form with at most
// 15 significant digits; "INF", "-INF" and "NAN" for the non-finite values.
std::string CalcResultText(double value);

} // namespace kalvion
