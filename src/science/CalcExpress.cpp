#include "science/CalcExpress.h"

#include "base/AsciiText.h"
#include "base/Rounding.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kalvion {

namespace {

struct TCalcFunction {
    std::string_view Name;
    std::int32_t Kind;
};

constexpr TCalcFunction kFunctions[] = {
    {"cos", CALC_COS},         {"sin", CALC_SIN},         {"tg", CALC_TG},
    {"ctg", CALC_CTG},         {"abs", CALC_ABS},         {"sgn", CALC_SGN},
    {"sign", CALC_SGN},        {"sqrt", CALC_SQRT},       {"ln", CALC_LN},
    {"exp", CALC_EXP},         {"arcsin", CALC_ARCSIN},   {"arccos", CALC_ARCCOS},
    {"arctg", CALC_ARCTG},     {"arctan", CALC_ARCTG},    {"round", CALC_ROUND},
    {"floor", CALC_FLOOR},     {"ceil", CALC_CEIL},       {"cth", CALC_CTH},
    {"coth", CALC_CTH},        {"heaviside", CALC_HEAVISIDE}, {"h", CALC_HEAVISIDE},
};

bool IsFunctionKind(std::int32_t kind) noexcept
{
    return (kind >= CALC_COS && kind <= CALC_ARCTG) || (kind >= CALC_ROUND && kind <= CALC_HEAVISIDE);
}

bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }
bool IsNameStart(char c) noexcept { return (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) noexcept { return IsNameStart(c) || IsDigit(c); }

// Thrown inside the parser to abandon it; never leaves this file.
struct TCalcAbandon {};

double ConvertNumber(const std::string &text)
{
    double v = 0;
    const char *begin = text.data();
    const char *end = begin + text.size();
    const auto res = std::from_chars(begin, end, v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != end)
        throw ECalcEvalError("'" + ShortForMessage(text) + "' is not a valid floating point value");
    return v;
}

// The remainder with the sign of the dividend, for every sign: -7 % 3 is -1.
double Remainder(double x, double y) noexcept
{
    if (y == 0)
        return 0;
    return std::trunc(x - std::trunc(x / y) * y);
}

double Power(double x, double y) noexcept
{
    if (y == 0)
        return 1;
    if (x == 0 && y > 0)
        return 0;
    if (y == std::trunc(y) && std::fabs(y) <= 2147483647.0) {
        // Whole exponents multiply, so negative bases work; squaring keeps a
        // huge exponent from looping billions of times.
        auto n = static_cast<std::uint32_t>(std::fabs(y));
        double result = 1;
        double base = x;
        while (n != 0) {
            if (n & 1u)
                result *= base;
            n >>= 1;
            if (n != 0)
                base *= base;
        }
        return y < 0 ? 1 / result : result;
    }
    return std::exp(y * std::log(x));
}

double IntegerResult(double r, double lo, double hi, const char *what)
{
    if (!(r >= lo && r <= hi))
        throw ECalcEvalError(std::string(what) + " is outside the integer range");
    return r;
}

} // namespace

// The recursive-descent parser; it fills the calculator's tree and flags.
class TCalcParser {
public:
    explicit TCalcParser(TCalcExpress &calc) : C(calc), T(calc.FText) {}

    void Run()
    {
        ParseExpression();
    }

    std::int32_t Depth = 0;

private:
    [[noreturn]] void Fail()
    {
        C.FError = true;
        C.FErrorMessage.clear();
        throw TCalcAbandon{};
    }

    void WrongNumber()
    {
        C.FError = true;
        C.FErrorMessage = "Wrong number.";
    }

    std::int32_t Add(std::int32_t kind, std::string text, std::int32_t left, std::int32_t right)
    {
        C.FNodes.push_back(TExprNode{kind, std::move(text), left, right});
        return static_cast<std::int32_t>(C.FNodes.size()) - 1;
    }

    void Enter()
    {
        if (++Depth > CALC_MAX_DEPTH)
            Fail();
    }

    void ReadNumber()
    {
        const std::size_t start = Pos;
        if (T[Pos] == '-')
            ++Pos;
        while (Pos < T.size() && IsDigit(T[Pos]))
            ++Pos;
        bool ok = true;
        if (Pos < T.size() && T[Pos] == '.') {
            ++Pos;
            if (Pos < T.size() && IsDigit(T[Pos])) {
                while (Pos < T.size() && IsDigit(T[Pos]))
                    ++Pos;
            } else {
                WrongNumber();
                ok = false;
            }
        }
        if (ok && Pos < T.size() && T[Pos] == 'e') {
            ++Pos;
            if (Pos < T.size() && (T[Pos] == '+' || T[Pos] == '-'))
                ++Pos;
            if (Pos < T.size() && IsDigit(T[Pos])) {
                while (Pos < T.size() && IsDigit(T[Pos]))
                    ++Pos;
            } else {
                WrongNumber();
            }
        }
        Text = T.substr(start, Pos - start);
    }

    std::int32_t ReadName()
    {
        const std::size_t start = Pos;
        while (Pos < T.size() && IsNameChar(T[Pos]))
            ++Pos;
        const std::string_view name = std::string_view(T).substr(start, Pos - start);
        for (const auto &f : kFunctions)
            if (f.Name == name)
                return f.Kind;
        std::int32_t index = -1;
        for (std::size_t i = 0; i < C.Names.size(); ++i)
            if (C.Names[i] == name) {
                index = static_cast<std::int32_t>(i);
                break;
            }
        // A name the calculator does not know has no value to stand for.
        if (index < 0)
            Fail();
        Text = std::to_string(index);
        return CALC_NAME;
    }

    void ReadToken()
    {
        while (Pos < T.size() && T[Pos] == ' ')
            ++Pos;
        Text.clear();
        std::int32_t kind = CALC_END;
        if (Pos < T.size()) {
            const char c = T[Pos];
            switch (c) {
            case '(': kind = CALC_OPEN; ++Pos; break;
            case ')': kind = CALC_CLOSE; ++Pos; break;
            case '+': kind = CALC_ADD; ++Pos; break;
            case '*': kind = CALC_MUL; ++Pos; break;
            case '/': kind = CALC_DIV; ++Pos; break;
            case '%': kind = CALC_MOD; ++Pos; break;
            case '^': kind = CALC_POWER; ++Pos; break;
            case '-':
                if (Pos + 1 < T.size() && IsDigit(T[Pos + 1]) && (Kind == CALC_END || Kind == CALC_OPEN)) {
                    ReadNumber();
                    kind = CALC_NUMBER;
                } else {
                    kind = CALC_SUB;
                    ++Pos;
                }
                break;
            default:
                if (IsDigit(c)) {
                    ReadNumber();
                    kind = CALC_NUMBER;
                } else if (IsNameStart(c)) {
                    kind = ReadName();
                } else {
                    Fail();
                }
            }
        }
        Previous = Kind;
        Kind = kind;
    }

    std::int32_t ParseExpression()
    {
        std::int32_t node = ParseTerm();
        for (;;) {
            if (Kind == CALC_ADD || Kind == CALC_SUB) {
                const std::int32_t op = Kind;
                const std::int32_t right = ParseTerm();
                node = Add(op, {}, node, right);
            } else if (Kind == CALC_END) {
                return node;
            } else if (Kind == CALC_CLOSE) {
                --Depth;
                return node;
            } else {
                Fail();
            }
        }
    }

    std::int32_t ParseTerm()
    {
        ReadToken();
        bool negated = false;
        if (Previous == CALC_END || Previous == CALC_OPEN) {
            if (Kind == CALC_SUB) {
                negated = true;
                ReadToken();
            }
            if (Kind == CALC_ADD)
                ReadToken();
        }
        std::int32_t node = ParseFactor();
        while (Kind == CALC_MUL || Kind == CALC_DIV || Kind == CALC_MOD) {
            const std::int32_t op = Kind;
            ReadToken();
            const std::int32_t right = ParseFactor();
            node = Add(op, {}, node, right);
        }
        if (negated)
            node = Add(CALC_NEGATE, {}, node, -1);
        return node;
    }

    std::int32_t ParseFactor()
    {
        std::int32_t node = -1;
        if (Kind == CALC_OPEN) {
            Enter();
            node = ParseExpression();
        } else if (Kind == CALC_NUMBER || Kind == CALC_NAME) {
            node = Add(Kind, Text, -1, -1);
        } else if (IsFunctionKind(Kind)) {
            const std::int32_t function = Kind;
            ReadToken();
            if (Kind != CALC_OPEN)
                Fail();
            Enter();
            const std::int32_t argument = ParseExpression();
            node = Add(function, {}, argument, -1);
        } else {
            Fail();
        }
        ReadToken();
        while (Kind == CALC_POWER) {
            ReadToken();
            const bool parenthesised = Kind == CALC_OPEN;
            if (parenthesised)
                ReadToken();
            if (Kind != CALC_NUMBER && Kind != CALC_NAME)
                Fail();
            const std::int32_t exponent = Add(Kind, Text, -1, -1);
            node = Add(CALC_POWER, {}, node, exponent);
            if (parenthesised) {
                ReadToken();
                if (Kind != CALC_CLOSE)
                    Fail();
            }
            ReadToken();
        }
        return node;
    }

    TCalcExpress &C;
    const std::string &T;
    std::size_t Pos = 0;
    std::int32_t Previous = CALC_END;
    std::int32_t Kind = CALC_END;
    std::string Text;
};

TCalcExpress::TCalcExpress() { SetExpression("0"); }

void TCalcExpress::SetExpression(std::string_view text)
{
    FNodes.clear();
    FError = false;
    FErrorMessage.clear();
    FText = AsciiLower(text);
    TCalcParser parser(*this);
    try {
        parser.Run();
    } catch (const TCalcAbandon &) {
    }
    if (FError || parser.Depth != 0)
        FNodes.clear();
}

double TCalcExpress::Evaluate(const std::vector<double> &values) const
{
    if (FNodes.empty())
        throw ECalcEvalError("no expression");
    std::vector<double> v(FNodes.size());
    for (std::size_t i = 0; i < FNodes.size(); ++i) {
        const TExprNode &n = FNodes[i];
        const double a = n.Left >= 0 ? v[static_cast<std::size_t>(n.Left)] : 0;
        const double b = n.Right >= 0 ? v[static_cast<std::size_t>(n.Right)] : 0;
        double r = 0;
        switch (n.Kind) {
        case CALC_NUMBER: r = ConvertNumber(n.Text); break;
        case CALC_NAME: {
            const long index = std::strtol(n.Text.c_str(), nullptr, 10);
            if (index < 0 || static_cast<std::size_t>(index) >= values.size())
                throw ECalcEvalError("a variable has no value");
            r = values[static_cast<std::size_t>(index)];
            break;
        }
        case CALC_ADD: r = a + b; break;
        case CALC_SUB: r = a - b; break;
        case CALC_MUL: r = a * b; break;
        case CALC_DIV: r = a / b; break;
        case CALC_NEGATE: r = -a; break;
        case CALC_COS: r = std::cos(a); break;
        case CALC_SIN: r = std::sin(a); break;
        case CALC_TG: r = std::tan(a); break;
        case CALC_CTG: r = 1 / std::tan(a); break;
        case CALC_ABS: r = std::fabs(a); break;
        case CALC_SGN: r = a > 0 ? 1 : (a < 0 ? -1 : (a == 0 ? 0 : a)); break;
        case CALC_SQRT: r = std::sqrt(a); break;
        case CALC_LN: r = std::log(a); break;
        case CALC_EXP: r = std::exp(a); break;
        case CALC_ARCSIN: r = std::asin(a); break;
        case CALC_ARCCOS: r = std::acos(a); break;
        case CALC_ARCTG: r = std::atan(a); break;
        case CALC_MOD: r = Remainder(a, b); break;
        case CALC_ROUND:
            r = IntegerResult(Round(a), -9223372036854775808.0, 9223372036854774784.0, "round");
            break;
        case CALC_FLOOR: r = IntegerResult(std::floor(a), -2147483648.0, 2147483647.0, "floor"); break;
        case CALC_CEIL: r = IntegerResult(std::ceil(a), -2147483648.0, 2147483647.0, "ceil"); break;
        case CALC_CTH: r = (std::exp(a) + std::exp(-a)) / (std::exp(a) - std::exp(-a)); break;
        case CALC_HEAVISIDE: r = a >= 0 ? 1 : 0; break;
        case CALC_POWER: r = Power(a, b); break;
        default: throw ECalcEvalError("unknown node");
        }
        v[i] = r;
    }
    return v.back();
}

bool CalcExpression(std::string_view text, double &value, std::string &message)
{
    message.clear();
    value = 0;
    TCalcExpress calc;
    calc.SetExpression(text);
    if (calc.HasError() || !calc.HasTree()) {
        message = calc.ErrorMessage();
        return false;
    }
    try {
        value = calc.Evaluate();
    } catch (const ECalcEvalError &) {
        value = 0;
        return false;
    }
    return true;
}

std::string CalcResultText(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (value == 0)
        return "0";
    // to_chars, unlike printf, never takes the decimal point from the locale.
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    return std::string(buf, res.ptr);
}

} // namespace kalvion
