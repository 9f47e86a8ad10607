#pragma once
// Script errors: the language's error numbers and their descriptions, and the
// exception that carries one up to the nearest error handler.
#include <cstdint>
#include <exception>
#include <string>

namespace kalvion::vbs {

enum ErrorCode : std::int32_t {
    E_INVALID_CALL = 5,
    E_OVERFLOW = 6,
    E_OUT_OF_STRING_SPACE = 14,
    E_OUT_OF_MEMORY = 7,
    E_SUBSCRIPT = 9,
    E_ARRAY_FIXED = 10,
    E_DIV_ZERO = 11,
    E_TYPE_MISMATCH = 13,
    E_OUT_OF_STACK = 28,
    E_SUB_NOT_DEFINED = 35,
    E_INTERNAL = 51,
    E_BAD_FILE_MODE = 54,
    E_FILE_NOT_FOUND = 53,
    E_FILE_EXISTS = 58,
    E_PAST_EOF = 62,
    E_PERMISSION = 70,
    E_PATH_FILE_ACCESS = 75,
    E_PATH_NOT_FOUND = 76,
    E_OBJECT_NOT_SET = 91,
    E_FOR_NOT_INIT = 92,
    E_INVALID_NULL = 94,
    E_OBJECT_REQUIRED = 424,
    E_CANT_CREATE = 429,
    E_NO_SUCH_MEMBER = 438,
    E_NO_ACTION = 445,
    E_ARG_NOT_OPTIONAL = 449,
    E_WRONG_ARGS = 450,
    E_NOT_COLLECTION = 451,
    E_KEY_EXISTS = 457,
    E_UNSUPPORTED_TYPE = 458,
    E_UNDEFINED_VAR = 500,
    E_ILLEGAL_ASSIGN = 501,
    E_UNQUALIFIED_REF = 505,
    E_CLASS_NOT_DEFINED = 506,
    E_EXCEPTION = 507,
    E_REGEXP_SYNTAX = 5017,
    E_REGEXP_QUANTIFIER = 5018,
    E_REGEXP_BRACKET = 5019,
    E_REGEXP_PAREN = 5020,
    E_REGEXP_RANGE = 5021,
    E_ELEMENT_NOT_FOUND = 32811,

    S_SYNTAX = 1002,
    S_EXPECTED_COLON = 1003,
    S_EXPECTED_LPAREN = 1005,
    S_EXPECTED_RPAREN = 1006,
    S_EXPECTED_IDENT = 1010,
    S_EXPECTED_EQUAL = 1011,
    S_EXPECTED_IF = 1012,
    S_EXPECTED_TO = 1013,
    S_EXPECTED_END = 1014,
    S_EXPECTED_FUNCTION = 1015,
    S_EXPECTED_SUB = 1016,
    S_EXPECTED_THEN = 1017,
    S_EXPECTED_WEND = 1018,
    S_EXPECTED_LOOP = 1019,
    S_EXPECTED_NEXT = 1020,
    S_EXPECTED_CASE = 1021,
    S_EXPECTED_SELECT = 1022,
    S_EXPECTED_EXPR = 1023,
    S_EXPECTED_STMT = 1024,
    S_EXPECTED_EOS = 1025,
    S_EXPECTED_INT_CONST = 1026,
    S_EXPECTED_WHILE_UNTIL = 1027,
    S_EXPECTED_WHILE_UNTIL_EOS = 1028,
    S_EXPECTED_WITH = 1029,
    S_IDENT_TOO_LONG = 1030,
    S_INVALID_NUMBER = 1031,
    S_INVALID_CHAR = 1032,
    S_UNTERMINATED_STRING = 1033,
    S_INVALID_ME = 1037,
    S_LOOP_WITHOUT_DO = 1038,
    S_INVALID_EXIT = 1039,
    S_INVALID_FOR_VAR = 1040,
    S_NAME_REDEFINED = 1041,
    S_MUST_BE_FIRST = 1042,
    S_PARENS_ON_SUB = 1044,
    S_EXPECTED_LITERAL = 1045,
    S_EXPECTED_IN = 1046,
    S_EXPECTED_CLASS = 1047,
    S_EXPECTED_PROPERTY_KIND = 1049,
    S_EXPECTED_PROPERTY = 1050,
    S_MULTIPLE_DEFAULT = 1052,
    S_INIT_NO_ARGS = 1053,
    S_PROPERTY_NEEDS_ARG = 1054,
    S_UNEXPECTED_NEXT = 1055,
    S_DEFAULT_NOT_PUBLIC = 1057,
    S_DEFAULT_ONLY_GET = 1058,
    S_TOO_COMPLEX = 1059,
};

// The language's own description of an error number; empty when unknown.
const char *ErrorDescription(std::int32_t number) noexcept;
bool IsSyntaxErrorNumber(std::int32_t number) noexcept;

// What Err.Source reads for the errors the engine raises itself.
inline constexpr const char *kRuntimeErrorSource = "Microsoft VBScript runtime error";
inline constexpr const char *kCompileErrorSource = "Microsoft VBScript compilation error";

// The number Err.Raise records for a number given as an HRESULT: the
// language's own errors (facility 0x0A) read back as their plain number, a few
// system failures as the error they stand for; anything else stays as it is.
std::int32_t ErrorNumberOf(std::int32_t number) noexcept;

// A script-level error.  Line and column are zero-based; -1 until the error
// reaches the statement that raised it.
class ScriptError : public std::exception {
public:
    ScriptError(std::int32_t number, std::string description, std::string source = {})
        : Number(number), Description(std::move(description)), Source(std::move(source)) {}
    explicit ScriptError(std::int32_t number) : Number(number), Description(ErrorDescription(number)) {}
    const char *what() const noexcept override { return Description.c_str(); }

    std::int32_t Number;
    std::string Description;
    std::string Source;
    std::string HelpFile;
    std::int32_t HelpContext = 0;
    int Line = -1;
    int Column = -1;
};

// Unwinds a run that was halted or ran past its step limit.  Not a
// ScriptError, so "On Error Resume Next" never swallows it.
class HaltSignal : public std::exception {
public:
    explicit HaltSignal(bool stepLimit) : StepLimit(stepLimit) {}
    const char *what() const noexcept override { return StepLimit ? "step limit" : "halted"; }
    bool StepLimit;
};

// Texts and arrays stay within these sizes ("Out of string space", "Out of memory").
inline constexpr std::size_t kMaxStringBytes = std::size_t(1) << 28;
inline constexpr std::size_t kMaxArrayElements = std::size_t(1) << 24;
void CheckStringSize(std::size_t bytes);

[[noreturn]] void Throw(std::int32_t number);

// Deep expressions (long operator or member chains, many nested
// parentheses inside recursive functions) recurse on the native stack.  The
// evaluator calls this before each recursive step: when less than a safe
// reserve of the running thread's stack is left it ends the script with "Out
// of stack space" instead of letting the process crash.
void CheckStackSpace();

[[noreturn]] void ThrowNamed(std::int32_t number, std::string_view name);

} // namespace kalvion::vbs
