#pragma once
// Builds a code unit from tokens.  Names are left unresolved; the interpreter
// links them once the whole text is known.
#include "scripting/vbs/Ast.h"
#include "scripting/vbs/Lexer.h"

namespace kalvion::vbs {

// Parses a whole program (or an Execute snippet) into u.Top and u's procedures.
void ParseProgram(std::vector<Token> tokens, CodeUnit &u);
// Parses one expression (Eval) into u.EvalExpr.
void ParseExpression(std::vector<Token> tokens, CodeUnit &u);

} // namespace kalvion::vbs
