#include "scripting/vbs/Parser.h"

#include "base/AsciiText.h"
#include "scripting/vbs/Errors.h"
#include "scripting/vbs/Nodes.h"
#include "scripting/vbs/Object.h"

#include <algorithm>
#include <unordered_map>

namespace kalvion::vbs {

namespace {

constexpr int kMaxNesting = 200;
// Operator and member chains are parsed in loops but evaluated by recursion,
// one native frame a level.  Deeper than this an expression ends the run with
// "Out of stack space" when it is evaluated, whatever the build's frame sizes.
constexpr int kMaxEvalDepth = 4096;

class Parser {
public:
    Parser(std::vector<Token> toks, CodeUnit &u) : FT(std::move(toks)), U(u)
    {
        FProc = &U.Top;
        U.Top.IsTop = true;
    }

    void Program()
    {
        for (;;) {
            SkipSeparators();
            if (T().Type == Tok::End)
                break;
            if (IsBlockEnd())
                Fail(KwOf(T()) == KW_NEXT ? S_UNEXPECTED_NEXT
                     : KwOf(T()) == KW_LOOP ? S_LOOP_WITHOUT_DO
                                            : S_EXPECTED_STMT,
                     T());
            Statement(U.Top.Body);
            ExpectEOS();
        }
    }

    void EvalExpr()
    {
        SkipSeparators();
        U.EvalExpr = Expression();
        SkipSeparators();
        if (T().Type != Tok::End)
            Fail(S_EXPECTED_EOS, T());
    }

private:
    std::vector<Token> FT;
    std::size_t P = 0;
    CodeUnit &U;
    Procedure *FProc;
    ClassDef *FClass = nullptr;
    std::vector<int> FWithSlots;
    int FForDepth = 0, FDoDepth = 0;
    int FDepth = 0;
    int FInlineIf = 0;
    bool FSeenStatement = false;
    std::unordered_map<const Expr *, int> FEvalDepth; // nodes deeper than one level

    int EvalDepth(const Expr *e) const
    {
        const auto it = FEvalDepth.find(e);
        return it == FEvalDepth.end() ? 1 : it->second;
    }
    int EvalDepth(const std::vector<Expr *> &args) const
    {
        int d = 0;
        for (const Expr *a : args)
            d = std::max(d, EvalDepth(a));
        return d;
    }
    // Records how deep `e` evaluates; past the limit it becomes a node that
    // fails with "Out of stack space" when it runs.
    Expr *Nested(Expr *e, int depth)
    {
        if (depth > kMaxEvalDepth) {
            auto *deep = U.Make<TooDeepExpr>(e->Line, e->Col);
            return deep;
        }
        if (depth > 1)
            FEvalDepth[e] = depth;
        return e;
    }

    const Token &T() const { return FT[P]; }
    const Token &Peek(std::size_t k = 1) const { return FT[std::min(P + k, FT.size() - 1)]; }
    void Next()
    {
        if (P + 1 < FT.size())
            ++P;
    }
    static Kw KwOf(const Token &t) { return t.Type == Tok::Ident ? t.Keyword : KW_NONE; }
    bool IsKw(Kw k) const { return KwOf(T()) == k; }
    bool IsOp(const char *op) const { return T().Type == Tok::Op && T().Text == op; }

    [[noreturn]] void Fail(std::int32_t code, const Token &t)
    {
        ScriptError e(code);
        e.Line = t.Line;
        e.Column = t.Col;
        throw e;
    }

    struct DepthGuard {
        Parser &Pa;
        explicit DepthGuard(Parser &p) : Pa(p)
        {
            if (++Pa.FDepth > kMaxNesting)
                Pa.Fail(S_TOO_COMPLEX, Pa.T());
            CheckStackSpace();
        }
        ~DepthGuard() { --Pa.FDepth; }
    };

    void SkipSeparators()
    {
        while (T().Type == Tok::Newline || T().Type == Tok::Colon)
            Next();
    }

    bool IsEOS() const
    {
        return T().Type == Tok::Newline || T().Type == Tok::Colon || T().Type == Tok::End ||
               (FInlineIf > 0 && (IsKw(KW_ELSE) || IsKw(KW_ELSEIF)));
    }

    // "x = 1 End Sub": the block's end may follow a statement on its line.
    bool AtBlockEndKeyword() const
    {
        if (!IsKw(KW_END))
            return false;
        switch (KwOf(Peek())) {
        case KW_IF:
        case KW_SUB:
        case KW_FUNCTION:
        case KW_PROPERTY:
        case KW_CLASS:
        case KW_SELECT:
        case KW_WITH:
            return true;
        default:
            return false;
        }
    }

    void ExpectEOS()
    {
        if (T().Type == Tok::Newline || T().Type == Tok::Colon) {
            Next();
            return;
        }
        if (T().Type == Tok::End || AtBlockEndKeyword())
            return;
        Fail(S_EXPECTED_EOS, T());
    }

    void ExpectKw(Kw k, std::int32_t code)
    {
        if (!IsKw(k))
            Fail(code, T());
        Next();
    }

    void ExpectOp(const char *op, std::int32_t code)
    {
        if (!IsOp(op))
            Fail(code, T());
        Next();
    }

    // An identifier that may name a variable or procedure.
    std::string Ident()
    {
        if (T().Type != Tok::Ident || T().Reserved)
            Fail(S_EXPECTED_IDENT, T());
        std::string s = T().Text;
        Next();
        return s;
    }

    // Any identifier, keywords included (member names after a dot).
    std::string MemberName()
    {
        if (T().Type != Tok::Ident)
            Fail(S_EXPECTED_IDENT, T());
        std::string s = T().Text;
        Next();
        return s;
    }

    bool IsBlockEnd() const
    {
        switch (KwOf(T())) {
        case KW_END:
        case KW_NEXT:
        case KW_LOOP:
        case KW_WEND:
        case KW_ELSE:
        case KW_ELSEIF:
        case KW_CASE:
            return true;
        default:
            return false;
        }
    }

    void Body(Block &out)
    {
        DepthGuard g(*this);
        for (;;) {
            SkipSeparators();
            if (T().Type == Tok::End || IsBlockEnd())
                return;
            Statement(out);
            ExpectEOS();
        }
    }

    NameRef *Ref(const std::string &name, int line, int col)
    {
        auto r = std::make_unique<NameRef>();
        r->Name = name;
        r->LName = AsciiLower(name);
        r->Line = line;
        r->Col = col;
        NameRef *raw = r.get();
        U.Names.push_back(std::move(r));
        FProc->Uses.push_back(raw);
        return raw;
    }

    template <class N>
    N *Make(const Token &at)
    {
        return U.Make<N>(at.Line, at.Col);
    }

    int HiddenSlot() { return FProc->NLocals++; }

    void Declare(const std::string &name, const Token &at, bool isConst = false)
    {
        const std::string l = AsciiLower(name);
        auto &d = FProc->Declared;
        if (std::find(d.begin(), d.end(), l) != d.end())
            Fail(S_NAME_REDEFINED, at);
        if (!FProc->IsTop) {
            if (FProc->LocalIndex.count(l) || l == FProc->LName)
                Fail(S_NAME_REDEFINED, at);
            FProc->LocalIndex[l] = FProc->NLocals++;
        }
        d.push_back(l);
        if (isConst)
            FProc->ConstNames.push_back(l);
    }

    // ---- statements ----

    void Statement(Block &out)
    {
        DepthGuard g(*this);
        const Token &t = T();
        const bool first = !FSeenStatement;
        FSeenStatement = true;
        switch (KwOf(t)) {
        case KW_DIM:
            Next();
            Dim(out, t);
            return;
        case KW_PUBLIC:
        case KW_PRIVATE: {
            const bool isPublic = KwOf(t) == KW_PUBLIC;
            Next();
            if (IsKw(KW_SUB) || IsKw(KW_FUNCTION)) {
                DefineProc(isPublic, false);
                return;
            }
            if (IsKw(KW_DEFAULT) || IsKw(KW_PROPERTY))
                Fail(S_EXPECTED_STMT, T());
            if (IsKw(KW_CONST)) {
                Next();
                Const(t);
                return;
            }
            Dim(out, t);
            return;
        }
        case KW_CONST:
            Next();
            Const(t);
            return;
        case KW_REDIM:
            Next();
            ReDim(out, t);
            return;
        case KW_ERASE: {
            Next();
            auto *s = Make<EraseStmt>(t);
            const Token &nt = T();
            auto *v = Make<VarExpr>(nt);
            v->R = Ref(Ident(), nt.Line, nt.Col);
            v->R->Assigned = true;
            s->Var = v;
            out.push_back(s);
            return;
        }
        case KW_IF:
            If(out, t);
            return;
        case KW_SELECT:
            Select(out, t);
            return;
        case KW_FOR:
            For(out, t);
            return;
        case KW_DO:
            Do(out, t);
            return;
        case KW_WHILE: {
            Next();
            auto *s = Make<DoStmt>(t);
            s->Cond = Expression();
            s->IsWend = true;
            Body(s->Body);
            ExpectKw(KW_WEND, S_EXPECTED_WEND);
            out.push_back(s);
            return;
        }
        case KW_WITH: {
            Next();
            auto *s = Make<WithStmt>(t);
            s->Obj = Expression();
            s->Slot = HiddenSlot();
            FWithSlots.push_back(s->Slot);
            Body(s->Body);
            FWithSlots.pop_back();
            ExpectKw(KW_END, S_EXPECTED_END);
            ExpectKw(KW_WITH, S_EXPECTED_WITH);
            out.push_back(s);
            return;
        }
        case KW_EXIT:
            Exit(out, t);
            return;
        case KW_SET: {
            Next();
            Expr *target = Chain(false);
            MarkAssigned(target);
            ExpectOp("=", S_EXPECTED_EQUAL);
            auto *s = Make<AssignStmt>(t);
            s->Target = target;
            s->Value = Expression();
            s->IsSet = true;
            out.push_back(s);
            return;
        }
        case KW_CALL: {
            Next();
            Expr *e = IsOp("(") ? Primary() : Chain(false);
            if (auto *v = dynamic_cast<VarExpr *>(e))
                v->R->CalledAs = true;
            auto *s = Make<CallStmt>(t);
            s->E = e;
            out.push_back(s);
            return;
        }
        case KW_ON: {
            Next();
            ExpectKw(KW_ERROR, S_SYNTAX);
            auto *s = Make<OnErrorStmt>(t);
            if (IsKw(KW_RESUME)) {
                Next();
                ExpectKw(KW_NEXT, S_SYNTAX);
                s->Resume = true;
            } else if (IsKw(KW_GOTO)) {
                Next();
                if (T().Type != Tok::Number || T().Num != 0)
                    Fail(S_SYNTAX, T());
                Next();
            } else {
                Fail(S_SYNTAX, T());
            }
            out.push_back(s);
            return;
        }
        case KW_OPTION:
            Next();
            ExpectKw(KW_EXPLICIT, S_SYNTAX);
            if (!first || !FProc->IsTop)
                Fail(S_MUST_BE_FIRST, t);
            U.OptionExplicit = true;
            return;
        case KW_SUB:
        case KW_FUNCTION:
            DefineProc(true, false);
            return;
        case KW_CLASS:
            DefineClass();
            return;
        case KW_STOP:
            Next();
            return;
        default:
            break;
        }
        if (t.Type == Tok::Ident && (t.Keyword == KW_PROPERTY || t.Keyword == KW_DEFAULT) &&
            Peek().Type == Tok::Ident)
            Fail(S_EXPECTED_STMT, t);
        if (t.Type == Tok::Ident && t.Reserved && t.Keyword != KW_ME)
            Fail(S_EXPECTED_STMT, t);
        if (t.Type != Tok::Ident && !(t.Type == Tok::Op && t.Text == "."))
            Fail(S_EXPECTED_STMT, t);
        ExprStatement(out, t);
    }

    void MarkAssigned(Expr *e)
    {
        if (auto *v = dynamic_cast<VarExpr *>(e))
            v->R->Assigned = true;
    }

    void ExprStatement(Block &out, const Token &t)
    {
        Expr *e = Chain(true);
        if (IsOp("=")) {
            Next();
            MarkAssigned(e);
            auto *s = Make<AssignStmt>(t);
            s->Target = e;
            s->Value = Expression();
            out.push_back(s);
            return;
        }
        std::vector<Expr *> args;
        if (IsOp("(") && ParenHoldsList())
            Fail(S_PARENS_ON_SUB, T());
        if (IsOp("(") && Peek().Type == Tok::Op && Peek().Text == ")") {
            // An empty argument list: "Err.Clear()", "S()".
            const std::size_t save = P;
            Next();
            Next();
            if (!IsEOS() && !AtBlockEndKeyword())
                P = save;
            else if (auto *m = dynamic_cast<MemberExpr *>(e); m && !m->HasArgs)
                m->HasArgs = true;
        }
        if (!IsEOS() && !AtBlockEndKeyword()) {
            for (;;) {
                args.push_back(ArgOrMissing());
                if (!IsOp(","))
                    break;
                Next();
            }
        }
        if (auto *v = dynamic_cast<VarExpr *>(e))
            v->R->CalledAs = true;
        if (!args.empty()) {
            if (auto *v = dynamic_cast<VarExpr *>(e)) {
                auto *c = U.Make<CallExpr>(v->Line, v->Col);
                c->R = v->R;
                c->Args = std::move(args);
                e = c;
            } else if (auto *m = dynamic_cast<MemberExpr *>(e); m && !m->HasArgs) {
                m->Args = std::move(args);
                m->HasArgs = true;
            } else {
                auto *ix = U.Make<IndexExpr>(e->Line, e->Col);
                ix->Base = e;
                ix->Args = std::move(args);
                e = ix;
            }
        }
        auto *s = Make<CallStmt>(t);
        s->E = e;
        out.push_back(s);
    }

    void DimItems(std::vector<DimItem> &items, bool redim, bool declare, const Token &at)
    {
        for (;;) {
            const Token &nt = T();
            std::string name = Ident();
            DimItem item;
            if (IsOp("(")) {
                Next();
                item.IsArray = true;
                if (!IsOp(")")) {
                    for (;;) {
                        if (redim) {
                            item.Bounds.push_back(Expression());
                        } else {
                            if (T().Type != Tok::Number)
                                Fail(S_EXPECTED_INT_CONST, T());
                            auto *lit = Make<LitExpr>(T());
                            lit->V = Variant::Long(static_cast<std::int32_t>(T().Num));
                            Next();
                            item.Bounds.push_back(lit);
                        }
                        if (!IsOp(","))
                            break;
                        Next();
                    }
                }
                ExpectOp(")", S_EXPECTED_RPAREN);
                if (redim && item.Bounds.empty())
                    Fail(S_EXPECTED_EXPR, T());
            }
            if (declare)
                Declare(name, nt);
            auto *v = Make<VarExpr>(nt);
            v->R = Ref(name, nt.Line, nt.Col);
            v->R->Assigned = true;
            item.Var = v;
            items.push_back(std::move(item));
            if (!IsOp(","))
                break;
            Next();
        }
        (void)at;
    }

    void Dim(Block &out, const Token &t)
    {
        auto *s = Make<DimStmt>(t);
        DimItems(s->Items, false, true, t);
        const bool anyArray = std::any_of(s->Items.begin(), s->Items.end(), [](const DimItem &i) { return i.IsArray; });
        if (anyArray)
            out.push_back(s);
    }

    void ReDim(Block &out, const Token &t)
    {
        auto *s = Make<ReDimStmt>(t);
        if (IsKw(KW_PRESERVE)) {
            Next();
            s->Preserve = true;
        }
        DimItems(s->Items, true, false, t);
        for (auto &i : s->Items) {
            if (!i.IsArray)
                Fail(S_EXPECTED_LPAREN, t);
            FProc->ReDimNames.push_back(static_cast<VarExpr *>(i.Var)->R->LName);
        }
        out.push_back(s);
    }

    void Const(const Token &t)
    {
        for (;;) {
            const Token &nt = T();
            std::string name = Ident();
            ExpectOp("=", S_EXPECTED_EQUAL);
            Expr *value = Expression();
            Declare(name, nt, true);
            auto *s = Make<ConstStmt>(t);
            auto *v = Make<VarExpr>(nt);
            v->R = Ref(name, nt.Line, nt.Col);
            v->R->Assigned = true;
            s->Target = v;
            s->Value = value;
            FProc->Consts.push_back(s);
            if (!IsOp(","))
                break;
            Next();
        }
    }

    void InlineList(Block &out)
    {
        for (;;) {
            if (T().Type == Tok::Colon) {
                Next();
                continue;
            }
            if (T().Type == Tok::Newline || T().Type == Tok::End || IsKw(KW_ELSE) || IsKw(KW_ELSEIF) ||
                AtBlockEndKeyword())
                return;
            Statement(out);
        }
    }

    void If(Block &out, const Token &t)
    {
        Next();
        auto *s = Make<IfStmt>(t);
        s->Conds.push_back(Expression());
        ExpectKw(KW_THEN, S_EXPECTED_THEN);
        s->Arms.emplace_back();
        if (T().Type != Tok::Newline && T().Type != Tok::End) {
            // Single-line form.
            ++FInlineIf;
            InlineList(s->Arms.back());
            if (IsKw(KW_ELSEIF))
                Fail(S_EXPECTED_EOS, T());
            if (IsKw(KW_ELSE)) {
                Next();
                InlineList(s->Else);
            }
            --FInlineIf;
            if (IsKw(KW_END) && Peek().Keyword == KW_IF) {
                Next();
                Next();
            }
            out.push_back(s);
            return;
        }
        const int savedInline = FInlineIf;
        FInlineIf = 0;
        Body(s->Arms.back());
        for (;;) {
            if (IsKw(KW_ELSEIF)) {
                Next();
                s->Conds.push_back(Expression());
                ExpectKw(KW_THEN, S_EXPECTED_THEN);
                s->Arms.emplace_back();
                Body(s->Arms.back());
                continue;
            }
            if (IsKw(KW_ELSE)) {
                Next();
                Body(s->Else);
            }
            break;
        }
        ExpectKw(KW_END, S_EXPECTED_END);
        ExpectKw(KW_IF, S_EXPECTED_IF);
        FInlineIf = savedInline;
        out.push_back(s);
    }

    void Select(Block &out, const Token &t)
    {
        Next();
        ExpectKw(KW_CASE, S_EXPECTED_CASE);
        auto *s = Make<SelectStmt>(t);
        s->E = Expression();
        ExpectEOS();
        SkipSeparators();
        bool sawElse = false;
        while (IsKw(KW_CASE)) {
            Next();
            if (IsKw(KW_ELSE)) {
                Next();
                sawElse = true;
                Body(s->Else);
                break;
            }
            std::vector<Expr *> vals;
            for (;;) {
                vals.push_back(Expression());
                if (!IsOp(","))
                    break;
                Next();
            }
            s->Values.push_back(std::move(vals));
            s->Bodies.emplace_back();
            Body(s->Bodies.back());
        }
        (void)sawElse;
        ExpectKw(KW_END, S_EXPECTED_END);
        ExpectKw(KW_SELECT, S_EXPECTED_SELECT);
        out.push_back(s);
    }

    Expr *LoopVar()
    {
        const Token &nt = T();
        if (T().Type != Tok::Ident || T().Reserved)
            Fail(S_INVALID_FOR_VAR, T());
        auto *v = Make<VarExpr>(nt);
        v->R = Ref(Ident(), nt.Line, nt.Col);
        v->R->Assigned = true;
        return v;
    }

    void For(Block &out, const Token &t)
    {
        Next();
        if (IsKw(KW_EACH)) {
            Next();
            auto *s = Make<ForEachStmt>(t);
            s->Var = LoopVar();
            ExpectKw(KW_IN, S_EXPECTED_IN);
            s->Coll = Expression();
            ++FForDepth;
            Body(s->Body);
            --FForDepth;
            ExpectKw(KW_NEXT, S_EXPECTED_NEXT);
            if (T().Type == Tok::Ident && !T().Reserved)
                Next();
            out.push_back(s);
            return;
        }
        auto *s = Make<ForStmt>(t);
        s->Var = LoopVar();
        ExpectOp("=", S_EXPECTED_EQUAL);
        s->From = Expression();
        ExpectKw(KW_TO, S_EXPECTED_TO);
        s->To = Expression();
        if (IsKw(KW_STEP)) {
            Next();
            s->Step = Expression();
        }
        ++FForDepth;
        Body(s->Body);
        --FForDepth;
        ExpectKw(KW_NEXT, S_EXPECTED_NEXT);
        if (T().Type == Tok::Ident && !T().Reserved)
            Next();
        out.push_back(s);
    }

    void Do(Block &out, const Token &t)
    {
        Next();
        auto *s = Make<DoStmt>(t);
        if (IsKw(KW_WHILE) || IsKw(KW_UNTIL)) {
            s->Until = IsKw(KW_UNTIL);
            Next();
            s->Cond = Expression();
            s->PreTest = true;
        } else if (!IsEOS()) {
            Fail(S_EXPECTED_WHILE_UNTIL_EOS, T());
        }
        ++FDoDepth;
        Body(s->Body);
        --FDoDepth;
        ExpectKw(KW_LOOP, S_EXPECTED_LOOP);
        if (IsKw(KW_WHILE) || IsKw(KW_UNTIL)) {
            if (s->Cond)
                Fail(S_EXPECTED_EOS, T());
            s->Until = IsKw(KW_UNTIL);
            Next();
            s->Cond = Expression();
            s->PreTest = false;
        }
        out.push_back(s);
    }

    void Exit(Block &out, const Token &t)
    {
        Next();
        auto *s = Make<ExitStmt>(t);
        switch (KwOf(T())) {
        case KW_FOR:
            if (FForDepth == 0)
                Fail(S_INVALID_EXIT, t);
            s->F = Flow::ExitFor;
            break;
        case KW_DO:
            if (FDoDepth == 0)
                Fail(S_INVALID_EXIT, t);
            s->F = Flow::ExitDo;
            break;
        case KW_SUB:
            if (FProc->IsTop || FProc->K != Procedure::Sub)
                Fail(S_INVALID_EXIT, t);
            s->F = Flow::ExitProc;
            break;
        case KW_FUNCTION:
            if (FProc->IsTop || FProc->K != Procedure::Function)
                Fail(S_INVALID_EXIT, t);
            s->F = Flow::ExitProc;
            break;
        case KW_PROPERTY:
            if (FProc->IsTop || (FProc->K != Procedure::PropGet && FProc->K != Procedure::PropLet &&
                                 FProc->K != Procedure::PropSet))
                Fail(S_INVALID_EXIT, t);
            s->F = Flow::ExitProc;
            break;
        default:
            Fail(S_SYNTAX, T());
        }
        Next();
        out.push_back(s);
    }

    // ---- definitions ----

    Procedure *DefineProc(bool isPublic, bool isDefault)
    {
        const Token &t = T();
        // A procedure may be written inside a block of top-level code; it is
        // defined before anything runs, whether or not the block runs.
        if (!FProc->IsTop || FInlineIf)
            Fail(S_SYNTAX, t);
        Procedure::Kind kind = Procedure::Sub;
        Kw endKw = KW_SUB;
        if (IsKw(KW_FUNCTION)) {
            kind = Procedure::Function;
            endKw = KW_FUNCTION;
            Next();
        } else if (IsKw(KW_SUB)) {
            Next();
        } else if (IsKw(KW_PROPERTY)) {
            if (!FClass)
                Fail(S_SYNTAX, t);
            Next();
            endKw = KW_PROPERTY;
            if (IsKw(KW_GET))
                kind = Procedure::PropGet;
            else if (IsKw(KW_LET))
                kind = Procedure::PropLet;
            else if (IsKw(KW_SET))
                kind = Procedure::PropSet;
            else
                Fail(S_EXPECTED_PROPERTY_KIND, T());
            Next();
        }
        auto up = std::make_unique<Procedure>();
        Procedure *p = up.get();
        U.Procs.push_back(std::move(up));
        U.DefinesNames = true;
        p->K = kind;
        p->Public = isPublic;
        p->IsDefault = isDefault;
        p->Line = t.Line;
        p->Col = t.Col;
        p->Name = Ident();
        p->LName = AsciiLower(p->Name);
        p->Class = FClass;
        if (IsOp("(")) {
            Next();
            if (!IsOp(")")) {
                for (;;) {
                    bool byRef = true;
                    if (IsKw(KW_BYVAL)) {
                        byRef = false;
                        Next();
                    } else if (IsKw(KW_BYREF)) {
                        Next();
                    }
                    const Token &nt = T();
                    std::string pn = Ident();
                    bool isArr = false;
                    if (IsOp("(")) {
                        Next();
                        ExpectOp(")", S_EXPECTED_RPAREN);
                        isArr = true;
                    }
                    const std::string l = AsciiLower(pn);
                    if (p->LocalIndex.count(l))
                        Fail(S_NAME_REDEFINED, nt);
                    p->LocalIndex[l] = 1 + p->NParams();
                    p->ParamNames.push_back(pn);
                    p->ByRef.push_back(byRef);
                    p->ParamIsArray.push_back(isArr);
                    if (!IsOp(","))
                        break;
                    Next();
                }
            }
            ExpectOp(")", S_EXPECTED_RPAREN);
        }
        p->NLocals = 1 + p->NParams();
        if ((kind == Procedure::PropLet || kind == Procedure::PropSet) && p->NParams() == 0)
            Fail(S_PROPERTY_NEEDS_ARG, t);
        if (FClass && (p->LName == "class_initialize" || p->LName == "class_terminate") && p->NParams() != 0)
            Fail(S_INIT_NO_ARGS, t);

        Procedure *savedProc = FProc;
        auto savedWith = std::move(FWithSlots);
        FWithSlots.clear();
        const int savedFor = FForDepth, savedDo = FDoDepth;
        FForDepth = FDoDepth = 0;
        FProc = p;
        Body(p->Body);
        FProc = savedProc;
        FWithSlots = std::move(savedWith);
        FForDepth = savedFor;
        FDoDepth = savedDo;
        ExpectKw(KW_END, S_EXPECTED_END);
        if (!IsKw(endKw))
            Fail(endKw == KW_SUB ? S_EXPECTED_SUB : endKw == KW_FUNCTION ? S_EXPECTED_FUNCTION : S_EXPECTED_PROPERTY, T());
        Next();

        if (FClass) {
            ClassMember &m = FClass->Members[p->LName];
            Procedure **slot = kind == Procedure::PropGet   ? &m.Get
                               : kind == Procedure::PropLet ? &m.Let
                               : kind == Procedure::PropSet ? &m.Set
                                                            : &m.Method;
            if (*slot || m.Field >= 0 || (kind <= Procedure::Function && (m.Get || m.Let || m.Set)) ||
                (kind > Procedure::Function && m.Method))
                Fail(S_NAME_REDEFINED, t);
            *slot = p;
            m.Public = isPublic;
            if (p->LName == "class_initialize")
                FClass->Init = p;
            if (p->LName == "class_terminate")
                FClass->Term = p;
            if (isDefault) {
                if (!FClass->DefaultMember.empty() && FClass->DefaultMember != p->LName)
                    Fail(S_MULTIPLE_DEFAULT, t);
                FClass->DefaultMember = p->LName;
            }
        }
        return p;
    }

    void DefineClass()
    {
        const Token &t = T();
        if (!FProc->IsTop || FClass || FDepth > 2 || FInlineIf)
            Fail(S_SYNTAX, t);
        Next();
        auto uc = std::make_unique<ClassDef>();
        ClassDef *c = uc.get();
        U.Classes.push_back(std::move(uc));
        U.DefinesNames = true;
        c->Name = Ident();
        c->LName = AsciiLower(c->Name);
        ExpectEOS();
        FClass = c;
        for (;;) {
            SkipSeparators();
            if (IsKw(KW_END))
                break;
            if (T().Type == Tok::End)
                Fail(S_EXPECTED_END, T());
            const Token &mt = T();
            bool isPublic = true, isDefault = false, hadScope = false;
            if (IsKw(KW_PUBLIC) || IsKw(KW_PRIVATE)) {
                isPublic = IsKw(KW_PUBLIC);
                hadScope = true;
                Next();
                if (IsKw(KW_DEFAULT)) {
                    if (!isPublic)
                        Fail(S_DEFAULT_NOT_PUBLIC, T());
                    isDefault = true;
                    Next();
                }
            } else if (IsKw(KW_DIM)) {
                hadScope = true;
                Next();
            }
            if (IsKw(KW_SUB) || IsKw(KW_FUNCTION) || IsKw(KW_PROPERTY)) {
                if (isDefault && !(IsKw(KW_SUB) || IsKw(KW_FUNCTION) || (IsKw(KW_PROPERTY) && Peek().Keyword == KW_GET)))
                    Fail(S_DEFAULT_ONLY_GET, T());
                DefineProc(isPublic, isDefault);
            } else if (hadScope && !isDefault) {
                Fields(c, isPublic);
            } else {
                Fail(S_EXPECTED_STMT, mt);
            }
            ExpectEOS();
        }
        Next();
        ExpectKw(KW_CLASS, S_EXPECTED_CLASS);
        FClass = nullptr;
    }

    void Fields(ClassDef *c, bool isPublic)
    {
        for (;;) {
            const Token &nt = T();
            std::string name = Ident();
            const std::string l = AsciiLower(name);
            if (c->Members.count(l))
                Fail(S_NAME_REDEFINED, nt);
            ClassMember &m = c->Members[l];
            m.Field = static_cast<int>(c->FieldNames.size());
            m.Public = isPublic;
            c->FieldNames.push_back(name);
            if (IsOp("(")) {
                Next();
                FieldInit fi{m.Field, {}};
                if (IsOp(")"))
                    fi.Bounds.push_back(-1);
                while (!IsOp(")")) {
                    if (T().Type != Tok::Number)
                        Fail(S_EXPECTED_INT_CONST, T());
                    fi.Bounds.push_back(static_cast<int>(T().Num));
                    Next();
                    if (!IsOp(","))
                        break;
                    Next();
                }
                ExpectOp(")", S_EXPECTED_RPAREN);
                c->FieldInits.push_back(std::move(fi));
            }
            if (!IsOp(","))
                break;
            Next();
        }
    }

    // ---- expressions ----

    // A name, member or index chain.  In statement mode an argument list in
    // parentheses that ends the chain is left for the statement's arguments,
    // so that "Foo (x)" passes x by value.
    Expr *Chain(bool statementMode)
    {
        const Token &t = T();
        Expr *e = nullptr;
        if (t.Type == Tok::Op && t.Text == ".") {
            e = WithMember();
        } else if (IsKw(KW_ME)) {
            if (!FClass)
                Fail(S_INVALID_ME, t);
            Next();
            e = Make<MeExpr>(t);
        } else {
            auto *v = Make<VarExpr>(t);
            v->R = Ref(Ident(), t.Line, t.Col);
            e = v;
        }
        return Postfix(e, statementMode);
    }

    Expr *WithMember()
    {
        const Token &t = T();
        Next();
        auto *m = Make<MemberExpr>(t);
        if (FWithSlots.empty()) {
            // Not a syntax error: the script runs up to the reference.
            m->Obj = Make<UnqualifiedExpr>(t);
        } else {
            auto *w = Make<WithObjExpr>(t);
            w->Slot = FWithSlots.back();
            m->Obj = w;
        }
        m->Name = MemberName();
        m->LName = AsciiLower(m->Name);
        return m;
    }

    // "Sub(a, b)" as a statement: a comma at the top level of the parentheses
    // that end the statement.
    bool ParenHoldsList() const
    {
        int depth = 0;
        bool comma = false;
        std::size_t i = P;
        for (; i < FT.size(); ++i) {
            const Token &k = FT[i];
            if (k.Type == Tok::Newline || k.Type == Tok::Colon || k.Type == Tok::End)
                return false;
            if (k.Type == Tok::Op && k.Text == "(")
                ++depth;
            else if (k.Type == Tok::Op && k.Text == ")" && --depth == 0)
                break;
            else if (depth == 1 && k.Type == Tok::Op && k.Text == ",")
                comma = true;
        }
        if (!comma || i + 1 >= FT.size())
            return false;
        const Token &after = FT[i + 1];
        return after.Type == Tok::Newline || after.Type == Tok::Colon || after.Type == Tok::End ||
               (FInlineIf > 0 && after.Type == Tok::Ident && after.Keyword == KW_ELSE);
    }

    bool ParensContinueChain() const
    {
        int depth = 0;
        std::size_t i = P;
        for (; i < FT.size(); ++i) {
            const Token &k = FT[i];
            if (k.Type == Tok::Newline || k.Type == Tok::Colon || k.Type == Tok::End)
                return false;
            if (k.Type == Tok::Op && k.Text == "(")
                ++depth;
            else if (k.Type == Tok::Op && k.Text == ")" && --depth == 0)
                break;
        }
        if (i + 1 >= FT.size())
            return false;
        const Token &after = FT[i + 1];
        return after.Type == Tok::Op && (after.Text == "." || after.Text == "(" || after.Text == "=");
    }

    // An omitted argument ("f(1, , 3)") passes Empty.
    Expr *ArgOrMissing()
    {
        if (IsOp(",") || IsOp(")") || IsEOS())
            return Make<LitExpr>(T());
        return Expression();
    }

    std::vector<Expr *> ParenArgs()
    {
        Next(); // (
        std::vector<Expr *> args;
        if (!IsOp(")")) {
            for (;;) {
                args.push_back(ArgOrMissing());
                if (!IsOp(","))
                    break;
                Next();
            }
        }
        ExpectOp(")", S_EXPECTED_RPAREN);
        return args;
    }

    Expr *Postfix(Expr *e, bool statementMode)
    {
        for (;;) {
            if (IsOp(".") && !T().SpaceBefore) {
                const Token &t = T();
                Next();
                auto *m = Make<MemberExpr>(t);
                m->Obj = e;
                m->Name = MemberName();
                m->LName = AsciiLower(m->Name);
                e = Nested(m, EvalDepth(e) + 1);
                continue;
            }
            if (IsOp("(")) {
                if (statementMode && !ParensContinueChain())
                    return e;
                const Token &t = T();
                std::vector<Expr *> args = ParenArgs();
                // "(f)(x)" and "Call (((f))) (x)" call f with x.
                if (auto *named = ParenthesisedName(e))
                    e = named;
                if (auto *v = dynamic_cast<VarExpr *>(e)) {
                    auto *c = U.Make<CallExpr>(v->Line, v->Col);
                    c->R = v->R;
                    c->R->CalledAs = true;
                    c->Args = std::move(args);
                    if (!FProc->IsTop && c->R->LName == FProc->LName)
                        c->R->SelfCall = true;
                    e = Nested(c, EvalDepth(c->Args) + 1);
                } else if (auto *m = dynamic_cast<MemberExpr *>(e); m && !m->HasArgs) {
                    m->Args = std::move(args);
                    m->HasArgs = true;
                    e = Nested(m, std::max(EvalDepth(m), EvalDepth(m->Args) + 1));
                } else {
                    auto *ix = Make<IndexExpr>(t);
                    ix->Base = e;
                    ix->Args = std::move(args);
                    e = Nested(ix, std::max(EvalDepth(e), EvalDepth(ix->Args)) + 1);
                }
                continue;
            }
            return e;
        }
    }

    static VarExpr *ParenthesisedName(Expr *e)
    {
        auto *p = dynamic_cast<ParenExpr *>(e);
        if (!p)
            return nullptr;
        while (auto *inner = dynamic_cast<ParenExpr *>(p->E))
            p = inner;
        return dynamic_cast<VarExpr *>(p->E);
    }

    Expr *Bin(Op o, Expr *l, Expr *r, const Token &at)
    {
        auto *b = Make<BinExpr>(at);
        b->O = o;
        b->L = l;
        b->R = r;
        return Nested(b, std::max(EvalDepth(l), EvalDepth(r)) + 1);
    }

public:
    Expr *Expression()
    {
        DepthGuard g(*this);
        return Imp();
    }

private:
    Expr *Imp()
    {
        Expr *l = Eqv();
        while (IsKw(KW_IMP)) {
            const Token &t = T();
            Next();
            l = Bin(Op::Imp, l, Eqv(), t);
        }
        return l;
    }
    Expr *Eqv()
    {
        Expr *l = Xor();
        while (IsKw(KW_EQV)) {
            const Token &t = T();
            Next();
            l = Bin(Op::Eqv, l, Xor(), t);
        }
        return l;
    }
    Expr *Xor()
    {
        Expr *l = Or();
        while (IsKw(KW_XOR)) {
            const Token &t = T();
            Next();
            l = Bin(Op::Xor, l, Or(), t);
        }
        return l;
    }
    Expr *Or()
    {
        Expr *l = And();
        while (IsKw(KW_OR)) {
            const Token &t = T();
            Next();
            l = Bin(Op::Or, l, And(), t);
        }
        return l;
    }
    Expr *And()
    {
        Expr *l = Not();
        while (IsKw(KW_AND)) {
            const Token &t = T();
            Next();
            l = Bin(Op::And, l, Not(), t);
        }
        return l;
    }
    Expr *Not()
    {
        if (IsKw(KW_NOT)) {
            DepthGuard g(*this);
            const Token &t = T();
            Next();
            auto *u = Make<UnaryExpr>(t);
            u->O = Op::Not;
            u->E = Not();
            return u;
        }
        return Compare();
    }
    Expr *Compare()
    {
        Expr *l = Concat();
        for (;;) {
            const Token &t = T();
            Op o;
            if (IsKw(KW_IS))
                o = Op::Is;
            else if (t.Type != Tok::Op)
                return l;
            else if (t.Text == "=")
                o = Op::Eq;
            else if (t.Text == "<>")
                o = Op::Ne;
            else if (t.Text == "<")
                o = Op::Lt;
            else if (t.Text == ">")
                o = Op::Gt;
            else if (t.Text == "<=")
                o = Op::Le;
            else if (t.Text == ">=")
                o = Op::Ge;
            else
                return l;
            Next();
            // "a <> Not b": Not binds more loosely, but may start the right operand.
            l = Bin(o, l, IsKw(KW_NOT) ? Not() : Concat(), t);
        }
    }
    Expr *Concat()
    {
        Expr *l = Additive();
        while (IsOp("&")) {
            const Token &t = T();
            Next();
            l = Bin(Op::Concat, l, Additive(), t);
        }
        return l;
    }
    Expr *Additive()
    {
        Expr *l = ModExpr();
        while (IsOp("+") || IsOp("-")) {
            const Token &t = T();
            const Op o = t.Text == "+" ? Op::Add : Op::Sub;
            Next();
            l = Bin(o, l, ModExpr(), t);
        }
        return l;
    }
    Expr *ModExpr()
    {
        Expr *l = IntDiv();
        while (IsKw(KW_MOD)) {
            const Token &t = T();
            Next();
            l = Bin(Op::Mod, l, IntDiv(), t);
        }
        return l;
    }
    Expr *IntDiv()
    {
        Expr *l = Mult();
        while (IsOp("\\")) {
            const Token &t = T();
            Next();
            l = Bin(Op::IntDiv, l, Mult(), t);
        }
        return l;
    }
    Expr *Mult()
    {
        Expr *l = Unary();
        while (IsOp("*") || IsOp("/")) {
            const Token &t = T();
            const Op o = t.Text == "*" ? Op::Mul : Op::Div;
            Next();
            l = Bin(o, l, Unary(), t);
        }
        return l;
    }
    Expr *Unary() { return Power(); }
    // The sign binds more tightly than "^": -3^2 is 9, 2^-1 is 0.5.
    Expr *Signed()
    {
        if (IsOp("-") || IsOp("+")) {
            DepthGuard g(*this);
            const Token &t = T();
            const bool neg = t.Text == "-";
            Next();
            Expr *e = Signed();
            if (!neg)
                return e;
            if (auto *lit = dynamic_cast<LitExpr *>(e); lit && lit->IsNumLit) {
                lit->V = UnaryOp(Op::Neg, lit->V);
                return lit;
            }
            auto *u = Make<UnaryExpr>(t);
            u->O = Op::Neg;
            u->E = e;
            return u;
        }
        return Primary();
    }
    Expr *Power()
    {
        Expr *l = Signed();
        while (IsOp("^")) {
            const Token &t = T();
            Next();
            l = Bin(Op::Pow, l, Signed(), t);
        }
        return l;
    }

    Expr *Primary()
    {
        const Token &t = T();
        switch (t.Type) {
        case Tok::Number: {
            auto *l = Make<LitExpr>(t);
            l->V = t.NumType == VT_I2   ? Variant::Int(static_cast<std::int32_t>(t.Num))
                   : t.NumType == VT_I4 ? Variant::Long(static_cast<std::int32_t>(t.Num))
                                        : Variant::Dbl(t.Num);
            l->IsNumLit = true;
            Next();
            return l;
        }
        case Tok::String: {
            auto *l = Make<LitExpr>(t);
            l->V = Variant::Str(t.Text);
            l->IsStrLit = true;
            Next();
            return l;
        }
        case Tok::Date: {
            auto *l = Make<LitExpr>(t);
            l->V = Variant::Date(t.Num);
            l->IsNumLit = true;
            Next();
            return l;
        }
        case Tok::Op:
            if (t.Text == "(") {
                Next();
                auto *p = Make<ParenExpr>(t);
                p->E = Expression();
                ExpectOp(")", S_EXPECTED_RPAREN);
                return Postfix(p, false);
            }
            if (t.Text == ".")
                return Postfix(WithMember(), false);
            Fail(S_EXPECTED_EXPR, t);
        case Tok::Ident:
            switch (t.Keyword) {
            case KW_TRUE:
            case KW_FALSE: {
                auto *l = Make<LitExpr>(t);
                l->V = Variant::Bool(t.Keyword == KW_TRUE);
                l->IsNumLit = true;
                Next();
                return l;
            }
            case KW_EMPTY: {
                auto *l = Make<LitExpr>(t);
                Next();
                return l;
            }
            case KW_NULL: {
                auto *l = Make<LitExpr>(t);
                l->V = Variant::Null();
                Next();
                return l;
            }
            case KW_NOTHING: {
                auto *l = Make<LitExpr>(t);
                l->V = Variant::Obj(nullptr);
                Next();
                return l;
            }
            case KW_NEW: {
                Next();
                auto *n = Make<NewExpr>(t);
                n->Name = Ident();
                n->LName = AsciiLower(n->Name);
                return n;
            }
            case KW_ME:
                return Chain(false);
            default:
                if (t.Reserved)
                    Fail(S_EXPECTED_EXPR, t);
                return Chain(false);
            }
        default:
            Fail(S_EXPECTED_EXPR, t);
        }
    }
};

} // namespace

void ParseProgram(std::vector<Token> tokens, CodeUnit &u)
{
    Parser p(std::move(tokens), u);
    p.Program();
}

void ParseExpression(std::vector<Token> tokens, CodeUnit &u)
{
    Parser p(std::move(tokens), u);
    p.EvalExpr();
}

} // namespace kalvion::vbs
