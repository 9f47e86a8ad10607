// The script engine against Lua 5.4 on the same small programs: a numeric loop
// of 10 million turns, building a text of 1 million pieces, recursive
// Fibonacci of 27, and 1 million calls of a routine registered by the program.
// Each pair runs in one process; compare the Lua_* and Vbs_* times.
#include "scripting/ScriptRegistry.h"
#include "scripting/vbs/Bridge.h"
#include "scripting/vbs/Interpreter.h"

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <stdexcept>

namespace {

// The routine both languages call: the same C++ body.
double Halve(double x) { return x * 0.5; }

const char *const kVbsLoop = R"(
Function Run()
  Dim s, i
  s = 0
  For i = 1 To 10000000
    s = s + i
  Next
  Run = s
End Function
result = Run()
)";
const char *const kLuaLoop = R"(
local function run()
  local s = 0
  for i = 1, 10000000 do
    s = s + i
  end
  return s
end
result = run()
)";

const char *const kVbsConcat = R"(
Function Run()
  Dim s, i
  s = ""
  For i = 1 To 1000000
    s = s & "x"
  Next
  Run = Len(s)
End Function
result = Run()
)";
const char *const kLuaConcat = R"(
local function run()
  local t = {}
  for i = 1, 1000000 do
    t[#t + 1] = "x"
  end
  return #table.concat(t)
end
result = run()
)";

const char *const kVbsFib = R"(
Function Fib(n)
  If n < 2 Then
    Fib = n
  Else
    Fib = Fib(n - 1) + Fib(n - 2)
  End If
End Function
result = Fib(27)
)";
const char *const kLuaFib = R"(
local function fib(n)
  if n < 2 then return n end
  return fib(n - 1) + fib(n - 2)
end
result = fib(27)
)";

const char *const kVbsCalls = R"(
Function Run()
  Dim s, i
  s = 0
  For i = 1 To 1000000
    s = s + Halve(i)
  Next
  Run = s
End Function
result = Run()
)";
const char *const kLuaCalls = R"(
local function run()
  local s = 0
  for i = 1, 1000000 do
    s = s + Halve(i)
  end
  return s
end
result = run()
)";

int LuaHalve(lua_State *L)
{
    lua_pushnumber(L, Halve(luaL_checknumber(L, 1)));
    return 1;
}

void RunLua(benchmark::State &state, const char *program)
{
    for (auto _ : state) {
        lua_State *L = luaL_newstate();
        luaL_openlibs(L);
        lua_register(L, "Halve", LuaHalve);
        if (luaL_dostring(L, program) != LUA_OK)
            throw std::runtime_error(lua_tostring(L, -1));
        lua_close(L);
    }
}

kalvion::TScriptRegistry &Registry()
{
    static kalvion::TScriptRegistry reg;
    static const bool once = [] {
        reg.AddRoutine("Halve", {kalvion::ArgOf(kalvion::TScriptType::Double)},
                       kalvion::ArgOf(kalvion::TScriptType::Double), [](kalvion::TScriptArgs &a) {
                           return kalvion::TScriptValue::FromDouble(Halve(a[0].Dbl));
                       });
        return true;
    }();
    (void)once;
    return reg;
}

void RunVbs(benchmark::State &state, const char *program)
{
    kalvion::vbs::RegistryNames names(Registry());
    for (auto _ : state) {
        kalvion::vbs::Interpreter in;
        in.Names = &names;
        in.Execute(program);
    }
}

void Lua_NumericLoop(benchmark::State &s) { RunLua(s, kLuaLoop); }
void Vbs_NumericLoop(benchmark::State &s) { RunVbs(s, kVbsLoop); }
void Lua_StringBuild(benchmark::State &s) { RunLua(s, kLuaConcat); }
void Vbs_StringBuild(benchmark::State &s) { RunVbs(s, kVbsConcat); }
void Lua_Fib27(benchmark::State &s) { RunLua(s, kLuaFib); }
void Vbs_Fib27(benchmark::State &s) { RunVbs(s, kVbsFib); }
void Lua_RegisteredCalls(benchmark::State &s) { RunLua(s, kLuaCalls); }
void Vbs_RegisteredCalls(benchmark::State &s) { RunVbs(s, kVbsCalls); }

BENCHMARK(Lua_NumericLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(Vbs_NumericLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(Lua_StringBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(Vbs_StringBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(Lua_Fib27)->Unit(benchmark::kMillisecond);
BENCHMARK(Vbs_Fib27)->Unit(benchmark::kMillisecond);
BENCHMARK(Lua_RegisteredCalls)->Unit(benchmark::kMillisecond);
BENCHMARK(Vbs_RegisteredCalls)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
