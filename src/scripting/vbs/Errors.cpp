#include "scripting/vbs/Errors.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include <pthread.h>

namespace kalvion::vbs {

namespace {
struct ErrText {
    std::int32_t Number;
    const char *Text;
};
constexpr ErrText kErrors[] = {
    {5, "Invalid procedure call or argument"},
    {6, "Overflow"},
    {7, "Out of memory"},
    {9, "Subscript out of range"},
    {10, "This array is fixed or temporarily locked"},
    {11, "Division by zero"},
    {13, "Type mismatch"},
    {14, "Out of string space"},
    {28, "Out of stack space"},
    {35, "Sub or Function not defined"},
    {48, "Error in loading DLL"},
    {51, "Internal error"},
    {52, "Bad file name or number"},
    {53, "File not found"},
    {54, "Bad file mode"},
    {55, "File already open"},
    {57, "Device I/O error"},
    {58, "File already exists"},
    {61, "Disk full"},
    {62, "Input past end of file"},
    {67, "Too many files"},
    {68, "Device unavailable"},
    {70, "Permission denied"},
    {71, "Disk not ready"},
    {74, "Can't rename with different drive"},
    {75, "Path/File access error"},
    {76, "Path not found"},
    {91, "Object variable not set"},
    {92, "For loop not initialized"},
    {94, "Invalid use of Null"},
    {322, "Can't create necessary temporary file"},
    {424, "Object required"},
    {429, "ActiveX component can't create object"},
    {430, "Class doesn't support Automation"},
    {432, "File name or class name not found during Automation operation"},
    {438, "Object doesn't support this property or method"},
    {440, "Automation error"},
    {445, "Object doesn't support this action"},
    {446, "Object doesn't support named arguments"},
    {447, "Object doesn't support current locale setting"},
    {448, "Named argument not found"},
    {449, "Argument not optional"},
    {450, "Wrong number of arguments or invalid property assignment"},
    {451, "Object not a collection"},
    {453, "Specified DLL function not found"},
    {457, "This key is already associated with an element of this collection"},
    {462, "The remote server machine does not exist or is unavailable"},
    {458, "Variable uses an Automation type not supported in VBScript"},
    {500, "Variable is undefined"},
    {501, "Illegal assignment"},
    {502, "Object not safe for scripting"},
    {503, "Object not safe for initializing"},
    {504, "Object not safe for creating"},
    {505, "Invalid or unqualified reference"},
    {506, "Class not defined"},
    {507, "An exception occurred"},
    {1001, "Out of memory"},
    {1002, "Syntax error"},
    {1003, "Expected ':'"},
    {1005, "Expected '('"},
    {1006, "Expected ')'"},
    {1007, "Expected ']'"},
    {1010, "Expected identifier"},
    {1011, "Expected '='"},
    {1012, "Expected 'If'"},
    {1013, "Expected 'To'"},
    {1014, "Expected 'End'"},
    {1015, "Expected 'Function'"},
    {1016, "Expected 'Sub'"},
    {1017, "Expected 'Then'"},
    {1018, "Expected 'Wend'"},
    {1019, "Expected 'Loop'"},
    {1020, "Expected 'Next'"},
    {1021, "Expected 'Case'"},
    {1022, "Expected 'Select'"},
    {1023, "Expected expression"},
    {1024, "Expected statement"},
    {1025, "Expected end of statement"},
    {1026, "Expected integer constant"},
    {1027, "Expected 'While' or 'Until'"},
    {1028, "Expected 'While', 'Until' or end of statement"},
    {1029, "Expected 'With'"},
    {1030, "Identifier too long"},
    {1031, "Invalid number"},
    {1032, "Invalid character"},
    {1033, "Unterminated string constant"},
    {1034, "Unterminated comment"},
    {1037, "Invalid use of 'Me' keyword"},
    {1038, "'loop' without 'do'"},
    {1039, "Invalid 'exit' statement"},
    {1040, "Invalid 'for' loop control variable"},
    {1041, "Name redefined"},
    {1042, "Must be first statement on the line"},
    {1043, "Cannot assign to non-ByVal argument"},
    {1044, "Cannot use parentheses when calling a Sub"},
    {1045, "Expected literal constant"},
    {1046, "Expected 'In'"},
    {1047, "Expected 'Class'"},
    {1048, "Must be defined inside a Class"},
    {1049, "Expected Let or Set or Get in property declaration"},
    {1050, "Expected 'Property'"},
    {1051, "Number of arguments must be consistent across properties specification"},
    {1052, "Cannot have multiple default property/method in a Class"},
    {1053, "Class initialize or terminate do not have arguments"},
    {1054, "Property set or let must have at least one argument"},
    {1055, "Unexpected 'Next'"},
    {1057, "'Default' specification must also specify 'Public'"},
    {1058, "'Default' specification can only be on Property Get"},
    {1059, "Expression too complex"},
    {5016, "Regular Expression object expected"},
    {5017, "Syntax error in regular expression"},
    {5018, "Unexpected quantifier"},
    {5019, "Expected ']' in regular expression"},
    {5020, "Expected ')' in regular expression"},
    {5021, "Invalid range in character set"},
    {32811, "Element not found"},
};
} // namespace

const char *ErrorDescription(std::int32_t number) noexcept
{
    for (const auto &e : kErrors)
        if (e.Number == number)
            return e.Text;
    return "";
}

bool IsSyntaxErrorNumber(std::int32_t number) noexcept { return number >= 1000 && number < 1100; }

namespace {
struct HResultError {
    std::uint32_t HResult;
    std::int32_t Number;
};
// System and automation failures with an error of their own.  Interface
// errors (0x8004xxxx) are left out on purpose: that range is vbObjectError's,
// where scripts number the errors they define.
constexpr HResultError kHResultErrors[] = {
    {0x80004001, 445}, {0x80004002, 430}, {0x80020001, 438}, {0x80020003, 438}, {0x80020004, 448},
    {0x80020005, 13},  {0x80020006, 438}, {0x80020007, 446}, {0x80020008, 458}, {0x8002000A, 6},
    {0x8002000B, 9},   {0x8002000C, 447}, {0x8002000D, 10},  {0x8002000E, 450}, {0x8002000F, 449},
    {0x80020011, 451}, {0x8002802F, 453}, {0x80028CA0, 13},  {0x80028CA1, 9},   {0x80028CA2, 57},
    {0x80028CA3, 322}, {0x80030002, 432}, {0x80030003, 76},  {0x80030004, 67},  {0x80030005, 70},
    {0x80030008, 7},   {0x80030012, 67},  {0x80030013, 70},  {0x8003001D, 57},  {0x8003001E, 57},
    {0x80030020, 75},  {0x80030021, 70},  {0x80030050, 58},  {0x80030070, 61},  {0x800300FC, 53},
    {0x80030100, 70},  {0x80030101, 70},  {0x80030103, 57},  {0x80070005, 70},  {0x8007000E, 7},
    {0x80070057, 5},   {0x800706BA, 462}, {0x80080005, 429},
};
} // namespace

std::int32_t ErrorNumberOf(std::int32_t number) noexcept
{
    const auto h = static_cast<std::uint32_t>(number);
    if ((h & 0xFFFF0000u) == 0x800A0000u)
        return static_cast<std::int32_t>(h & 0xFFFFu);
    for (const auto &e : kHResultErrors)
        if (e.HResult == h)
            return e.Number;
    return number;
}

void Throw(std::int32_t number) { throw ScriptError(number); }

void CheckStringSize(std::size_t bytes)
{
    if (bytes > kMaxStringBytes)
        Throw(E_OUT_OF_STRING_SPACE);
}

void ThrowNamed(std::int32_t number, std::string_view name)
{
    std::string d = ErrorDescription(number);
    d += ": '";
    d += name;
    d += "'";
    throw ScriptError(number, std::move(d));
}

namespace {

// The lowest frame address the evaluator may reach on this thread: the low
// end of the thread's stack plus a reserve for the work done between two
// checks (built-in functions, the host's routines, sanitizer frames).
std::uintptr_t StackFloor()
{
    std::uintptr_t floor = 0;
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        void *low = nullptr;
        std::size_t size = 0;
        if (pthread_attr_getstack(&attr, &low, &size) == 0 && low != nullptr && size > 0) {
            const std::size_t reserve = std::clamp<std::size_t>(size / 4, 64 * 1024, 1024 * 1024);
            floor = reinterpret_cast<std::uintptr_t>(low) + reserve;
        }
        pthread_attr_destroy(&attr);
    }
    return floor;
}

} // namespace

void CheckStackSpace()
{
    thread_local const std::uintptr_t floor = StackFloor();
    // The frame address, not a local's: a sanitizer may keep locals elsewhere.
    if (reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)) < floor)
        Throw(E_OUT_OF_STACK);
}

} // namespace kalvion::vbs
