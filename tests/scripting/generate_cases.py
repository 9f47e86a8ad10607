# Writes the conformance scripts under data/<area>/ (one small .vbs per case).
# Run it after editing a case: python3 generate_cases.py
import os
root = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'data')
cases = {}
def add(area, name, code, out=None, err=None):
    cases.setdefault(area, []).append((name, code, out or [], err))
def ex(area, pairs):
    for i, (e, v) in enumerate(pairs):
        add(area, f'expr{i:02d}', f'MsgBox {e}\n', [v])

ex('operators', [
 ('1 + 2', '3'), ('7 - 10', '-3'), ('6 * 7', '42'), ('10 / 4', '2.5'), ('7 \\ 2', '3'), ('-7 \\ 2', '-3'),
 ('7 Mod 3', '1'), ('-7 Mod 3', '-1'), ('2 ^ 10', '1024'), ('-2 ^ 2', '-4'), ('2 ^ -1', '0.5'),
 ('"a" & "b"', 'ab'), ('1 & 2', '12'), ('"1" + 2', '3'), ('"1" + "2"', '12'), ('Null & "x"', 'x'),
 ('Empty & "x"', 'x'), ('TypeName(Null + 1)', 'Null'), ('TypeName(Empty + Empty)', 'Integer'),
 ('TypeName(32767 + 1)', 'Long'), ('TypeName(2147483647 + 1)', 'Double'), ('TypeName(1 / 1)', 'Double'),
 ('TypeName(5 \\ 2)', 'Integer'), ('TypeName(100000 \\ 2)', 'Long'), ('5.5 \\ 2', '3'), ('6.5 \\ 2', '3'),
 ('7.5 Mod 2', '0'), ('8.5 Mod 3', '2'), ('True + True', '-2'), ('TypeName(True + True)', 'Integer'),
 ('Not True', 'False'), ('Not 0', '-1'), ('5 And 3', '1'), ('5 Or 3', '7'), ('5 Xor 3', '6'),
 ('True Eqv False', 'False'), ('False Imp True', 'True'), ('TypeName(True And Null)', 'Null'), ('IsNull(True And Null)', 'True'),
 ('False And Null', 'False'), ('True Or Null', 'True'), ('1 + 2 * 3', '7'), ('(1 + 2) * 3', '9'),
 ('2 + 3 & 4', '54'), ('10 - 2 - 3', '5'), ('2 ^ 3 ^ 2', '64'), ('Not 1 = 2', 'True'), ('-(-3)', '3'),
 ('&HFF', '255'), ('&HFFFF', '-1'), ('&H10000', '65536'), ('&O17', '15'), ('1E3', '1000'), ('.5 + .25', '0.75'),
])
ex('comparison', [
 ('1 = 1', 'True'), ('1 <> 1', 'False'), ('1 < 2', 'True'), ('2 <= 2', 'True'), ('3 >= 4', 'False'),
 ('"a" < "b"', 'True'), ('"a" = "A"', 'False'), ('"B" < "a"', 'True'), ('StrComp("a", "A")', '1'),
 ('StrComp("a", "A", vbTextCompare)', '0'), ('StrComp("a", "b")', '-1'), ('Empty = 0', 'True'),
 ('Empty = ""', 'True'), ('IsNull(Null = Null)', 'True'), ('1 = 1.0', 'True'), ('True = -1', 'True'),
 ('"10" = 10', 'True'), ('10 = "10"', 'True'), ('"abc" < "abd"', 'True'), ('"" < "a"', 'True'),
 ('#1/1/2000# < #1/2/2000#', 'True'),
])
ex('strings', [
 ('Len("hello")', '5'), ('Len("")', '0'), ('Len(123)', '3'), ('Left("hello", 2)', 'he'), ('Right("hello", 3)', 'llo'),
 ('Left("hi", 10)', 'hi'), ('Mid("hello", 2, 3)', 'ell'), ('Mid("hello", 3)', 'llo'), ('Mid("hello", 10)', ''),
 ('InStr("hello", "l")', '3'), ('InStr(4, "hello", "l")', '4'), ('InStr("hello", "z")', '0'),
 ('InStr("Hello", "h")', '0'), ('InStr(1, "Hello", "h", 1)', '1'), ('InStrRev("hello", "l")', '4'),
 ('InStrRev("a.b.c", ".", 3)', '2'), ('Replace("aaa", "a", "b")', 'bbb'), ('Replace("abcabc", "b", "X", 1, 1)', 'aXcabc'),
 ('Replace("abcabc", "b", "X", 3)', 'cabc'.replace('b','X')), ('Replace("ABC", "b", "x", 1, -1, vbTextCompare)', 'AxC'),
 ('"[" & Trim("  a b  ") & "]"', '[a b]'), ('"[" & LTrim("  a ") & "]"', '[a ]'), ('"[" & RTrim(" a  ") & "]"', '[ a]'),
 ('LCase("AbC")', 'abc'), ('UCase("AbC")', 'ABC'), ('"[" & Space(3) & "]"', '[   ]'), ('String(3, "x")', 'xxx'),
 ('String(2, 65)', 'AA'), ('StrReverse("abc")', 'cba'), ('Chr(65)', 'A'), ('Asc("A")', '65'), ('Asc("abc")', '97'),
 ('Join(Split("a b c"), "-")', 'a-b-c'), ('UBound(Split(""))', '-1'), ('UBound(Split("a,b,,c", ","))', '3'),
 ('Split("a,b,c", ",", 2)(1)', 'b,c'), ('Join(Array(1, 2, 3))', '1 2 3'), ('Join(Array("x"), ",")', 'x'),
 ('Join(Filter(Array("ab", "cd", "ax"), "a"), ",")', 'ab,ax'), ('Join(Filter(Array("ab", "cd", "ax"), "a", False), ",")', 'cd'),
 ('Hex(255)', 'FF'), ('Hex(-1)', 'FFFF'), ('Hex(-1&)'.replace('-1&','CLng(-1)'), 'FFFFFFFF'), ('Oct(8)', '10'),
 ('"a" & vbTab & "b"', 'a\tb'), ('Len(vbCrLf)', '2'), ('Replace("a-b", "-", "")', 'ab'), ('LCase(Null) & "x"', 'x'),
 ('FormatNumber(1234.567)', '1,234.57'), ('FormatNumber(1234.567, 0)', '1,235'), ('FormatNumber(0.5, 2, 0)', '.50'),
 ('FormatNumber(-3, 1)', '-3.0'), ('FormatNumber(-3, 1, , -1)', '(3.0)'), ('FormatNumber(1234, 2, , , 0)', '1234.00'),
 ('FormatPercent(0.256, 1)', '25.6%'),
])
ex('conversion', [
 ('CInt(2.5)', '2'), ('CInt(3.5)', '4'), ('CInt(-2.5)', '-2'), ('CLng(1234567.5)', '1234568'), ('CInt("12")', '12'),
 ('Round(2.5)', '2'), ('Round(3.5)', '4'), ('Round(1.2345, 2)', '1.23'), ('Round(-1.5)', '-2'), ('Int(3.7)', '3'),
 ('Int(-3.7)', '-4'), ('Fix(-3.7)', '-3'), ('Abs(-5)', '5'), ('Sgn(-2)', '-1'), ('Sgn(0)', '0'), ('CDbl("1.5")', '1.5'),
 ('CStr(1.5)', '1.5'), ('CStr(True)', 'True'), ('CBool(1)', 'True'), ('CBool("false")', 'False'), ('CBool(0)', 'False'),
 ('CByte(255)', '255'), ('TypeName(CByte(1))', 'Byte'), ('TypeName(CSng(1.5))', 'Single'), ('TypeName(CCur(1))', 'Currency'),
 ('TypeName(CDate("1/1/2000"))', 'Date'), ('CStr(0.1 + 0.2)', '0.3'), ('CStr(1/3)', '0.333333333333333'),
 ('1E+20', '1E+20'), ('CStr(123456789012345)', '123456789012345'), ('CStr(1E15)', '1E+15'), ('0.00001', '1E-05'),
 ('CStr(-0.5)', '-0.5'), ('IsNumeric("12.5")', 'True'), ('IsNumeric("abc")', 'False'), ('IsNumeric(Empty)', 'True'),
 ('IsNumeric(Null)', 'False'), ('IsNumeric(" 7 ")', 'True'), ('IsNumeric("&HFF")', 'True'), ('CLng("&H10")', '16'),
 ('VarType(1)', '2'), ('VarType(100000)', '3'), ('VarType(1.5)', '5'), ('VarType("s")', '8'), ('VarType(Empty)', '0'),
 ('VarType(Null)', '1'), ('VarType(True)', '11'), ('VarType(Array())', '8204'), ('TypeName(Nothing)', 'Nothing'),
 ('TypeName(1)', 'Integer'), ('TypeName("")', 'String'), ('TypeName(Array(1))', 'Variant()'), ('TypeName(Empty)', 'Empty'),
 ('TypeName(#1/1/2000#)', 'Date'), ('RGB(255, 0, 0)', '255'), ('RGB(0, 0, 255)', '16711680'),
])
ex('math', [
 ('Sqr(16)', '4'), ('Exp(0)', '1'), ('Log(1)', '0'), ('Round(Atn(1) * 4, 5)', '3.14159'), ('Cos(0)', '1'), ('Sin(0)', '0'),
 ('Round(Tan(0.5), 4)', '0.5463'), ('Abs(-2.5)', '2.5'), ('Int(2)', '2'), ('Round(2.675, 2)', '2.68'), ('Round(0.5)', '0'),
 ('Round(1.5)', '2'), ('10 Mod 4', '2'), ('TypeName(Rnd())', 'Single'), ('Rnd() < 1', 'True'), ('Fix(2.9)', '2'),
])
ex('dates', [
 ('#1/2/2003#', '1/2/2003'), ('#2003-01-02#', '1/2/2003'), ('Year(#3/4/2005#)', '2005'), ('Month(#3/4/2005#)', '3'),
 ('Day(#3/4/2005#)', '4'), ('DateSerial(2020, 13, 1)', '1/1/2021'), ('DateSerial(2020, 3, 0)', '2/29/2020'),
 ('DateAdd("d", 1, #12/31/1999#)', '1/1/2000'), ('DateAdd("m", 1, #1/31/2001#)', '2/28/2001'),
 ('DateAdd("yyyy", -1, #2/29/2004#)', '2/28/2003'), ('DateDiff("d", #1/1/2000#, #3/1/2000#)', '60'),
 ('DateDiff("m", #1/31/2000#, #2/1/2000#)', '1'), ('DateDiff("yyyy", #12/31/1999#, #1/1/2000#)', '1'),
 ('Weekday(#1/1/2000#)', '7'), ('WeekdayName(1)', 'Sunday'), ('MonthName(2)', 'February'), ('MonthName(2, True)', 'Feb'),
 ('Hour(#1/1/2000 3:45:10 PM#)', '15'), ('Minute(#1/1/2000 3:45:10 PM#)', '45'), ('Second(#1/1/2000 3:45:10 PM#)', '10'),
 ('TimeSerial(13, 5, 0)', '1:05:00 PM'), ('#1/1/2000 1:00:00 PM#', '1/1/2000 1:00:00 PM'), ('CDbl(#1/1/1900#)', '2'),
 ('CDate(2)', '1/1/1900'), ('IsDate("1/1/2000")', 'True'), ('IsDate("hello")', 'False'), ('DatePart("q", #5/1/2000#)', '2'),
 ('DatePart("y", #2/1/2000#)', '32'), ('#1/1/2000# + 1', '1/2/2000'), ('#1/3/2000# - #1/1/2000#', '2'),
 ('FormatDateTime(#1/2/2003#, 1)', 'Thursday, January 2, 2003'), ('FormatDateTime(#1/2/2003 13:04#, 4)', '13:04'),
 ('DateValue("March 5, 2001")', '3/5/2001'), ('TimeValue("14:30")', '2:30:00 PM'),
])
ex('arrays', [
 ('UBound(Array(1, 2, 3))', '2'), ('LBound(Array(1, 2, 3))', '0'), ('Array(1, 2, 3)(1)', '2'), ('IsArray(Array())', 'True'),
 ('IsArray(1)', 'False'), ('UBound(Array())', '-1'),
])

# ---- multi-line cases ----
A = add
A('variables', 'implicit', 'x = 5\nMsgBox x\n', ['5'])
A('variables', 'dim_multi', 'Dim a, b, c\na = 1: b = 2: c = a + b\nMsgBox c\n', ['3'])
A('variables', 'case_insensitive', 'Dim Foo\nfoo = 3\nMsgBox FOO\n', ['3'])
A('variables', 'empty_default', 'Dim x\nMsgBox TypeName(x) & "|" & (x = 0) & "|" & (x = "")\n', ['Empty|True|True'])
A('variables', 'const', 'Const PI = 3.14, NAME = "n"\nMsgBox PI & NAME\n', ['3.14n'])
A('variables', 'const_hoisted', 'MsgBox K\nConst K = 7\n', ['7'])
A('variables', 'const_assign', 'Const K = 1\nK = 2\n', err=(501, "Illegal assignment: 'K'", 1, 0))
A('variables', 'explicit_ok', 'Option Explicit\nDim a\na = 1\nMsgBox a\n', ['1'])
A('variables', 'explicit_undefined', 'Option Explicit\nDim a\nb = 1\n', err=(500, "Variable is undefined: 'b'", 2, 0))
A('variables', 'explicit_in_sub', 'Option Explicit\nSub S()\n  Dim q\n  q = 1\n  r = 2\nEnd Sub\nS\n', err=(500, "Variable is undefined: 'r'", 4, 2))
A('variables', 'explicit_not_first', 'Dim a\nOption Explicit\n', err=(1042, 'Must be first statement on the line', 1, 0))
A('variables', 'redefined', 'Dim a\nDim a\n', err=(1041, 'Name redefined', 1, 4))
A('variables', 'global_from_sub', 'Dim g\nSub S() : g = g + 1 : End Sub\nS : S\nMsgBox g\n', ['2'])
A('variables', 'global_declared_later', 'Sub S() : later = 5 : End Sub\nDim later\nS\nMsgBox later\n', ['5'])
A('variables', 'local_implicit', 'Sub S() : loc = 5 : End Sub\nS\nMsgBox IsEmpty(loc)\n', ['True'])
A('variables', 'implicit_global_from_top', 'count = 0\nSub Inc() : count = count + 1 : End Sub\nInc : Inc\nMsgBox count\n', ['2'])
A('variables', 'byref_only_is_local', 'Sub T2()\n GetV v\n MsgBox "v=" & v\nEnd Sub\nSub GetV(x) : x = 5 : End Sub\nT2\nMsgBox "top=" & v\n', ['v=5', 'top='])
A('variables', 'called_later_defined', 'Sub S() : MsgBox Later2(4) : End Sub\nExecuteGlobal "Function Later2(x) : Later2 = x + 1 : End Function"\nS\n', ['5'])
A('variables', 'local_shadows', 'Dim v : v = 1\nSub S()\n Dim v : v = 2\nEnd Sub\nS\nMsgBox v\n', ['1'])
A('variables', 'continuation', 'x = 1 + _\n    2 + _\n    3\nMsgBox x\n', ['6'])
A('variables', 'colon_separators', 'a = 1 : b = 2 : MsgBox a + b\n', ['3'])
A('variables', 'rem_comment', "Rem a comment\nx = 2 ' trailing\nMsgBox x ' more\n", ['2'])
A('variables', 'brackets', 'Dim [my var]\n[my var] = 4\nMsgBox [my var]\n', ['4'])
A('variables', 'assign_compare', 'a = 1 : b = 1\nc = a = b\nMsgBox c\n', ['True'])
A('variables', 'set_vs_let_obj', 'Set d = CreateObject("Scripting.Dictionary")\nd("k") = 5\nx = d\n', err=(450, 'Wrong number of arguments or invalid property assignment', 2, 0))
A('variables', 'set_required', 'Set x = 5\n', err=(424, 'Object required', 0, 0))
A('variables', 'set_nothing', 'Set x = Nothing\nMsgBox TypeName(x) & " " & (x Is Nothing)\n', ['Nothing True'])
A('variables', 'let_nothing', 'x = Nothing\n', err=(91, 'Object variable not set', 0, 0))
A('variables', 'is_requires_obj', 'MsgBox 1 Is 1\n', err=(424, 'Object required', 0, 0))

A('control', 'if_block', 'x = 5\nIf x > 3 Then\n MsgBox "big"\nElseIf x > 1 Then\n MsgBox "mid"\nElse\n MsgBox "small"\nEnd If\n', ['big'])
A('control', 'elseif', 'x = 2\nIf x > 3 Then\n MsgBox "big"\nElseIf x > 1 Then\n MsgBox "mid"\nElse\n MsgBox "small"\nEnd If\n', ['mid'])
A('control', 'else', 'x = 0\nIf x > 3 Then\n MsgBox "big"\nElse\n MsgBox "small"\nEnd If\n', ['small'])
A('control', 'single_line', 'x = 1\nIf x = 1 Then MsgBox "one" Else MsgBox "other"\n', ['one'])
A('control', 'single_line_else', 'x = 2\nIf x = 1 Then MsgBox "one" Else MsgBox "other"\n', ['other'])
A('control', 'single_line_multi', 'If True Then a = 1 : b = 2\nMsgBox a + b\n', ['3'])
A('control', 'single_line_false_multi', 'If False Then a = 1 : b = 2\nMsgBox IsEmpty(b)\n', ['True'])
A('control', 'if_null_false', 'If Null Then MsgBox "t" Else MsgBox "f"\n', ['f'])
A('control', 'if_string_true', 'If "True" Then MsgBox "t"\n', ['t'])
A('control', 'if_type_mismatch', 'If "abc" Then MsgBox "t"\n', err=(13, 'Type mismatch', 0, 0))
A('control', 'for_basic', 's = ""\nFor i = 1 To 3\n s = s & i\nNext\nMsgBox s & " " & i\n', ['123 4'])
A('control', 'for_step', 's = ""\nFor i = 10 To 1 Step -3\n s = s & i & ","\nNext\nMsgBox s\n', ['10,7,4,1,'])
A('control', 'for_fraction', 's = ""\nFor i = 0 To 1 Step 0.25\n s = s & i & " "\nNext\nMsgBox s\n', ['0 0.25 0.5 0.75 1 '])
A('control', 'for_bounds_once', 'n = 3 : c = 0\nFor i = 1 To n\n n = 10 : c = c + 1\nNext\nMsgBox c\n', ['3'])
A('control', 'for_zero_iter', 'c = 0\nFor i = 5 To 1\n c = c + 1\nNext\nMsgBox c & " " & i\n', ['0 5'])
A('control', 'for_exit', 'For i = 1 To 10\n If i = 4 Then Exit For\nNext\nMsgBox i\n', ['4'])
A('control', 'for_modify_counter', 'c = 0\nFor i = 1 To 10\n i = i + 1 : c = c + 1\nNext\nMsgBox c\n', ['5'])
A('control', 'for_nested_next', 'c = 0\nFor i = 1 To 3\n For j = 1 To 2\n  c = c + 1\n Next j\nNext i\nMsgBox c\n', ['6'])
A('control', 'for_each_array', 's = ""\nFor Each x In Array("a", "b", "c")\n s = s & x\nNext\nMsgBox s\n', ['abc'])
A('control', 'for_each_2d', 'Dim a(1, 1)\na(0,0) = 1 : a(1,0) = 2 : a(0,1) = 3 : a(1,1) = 4\ns = ""\nFor Each x In a : s = s & x : Next\nMsgBox s\n', ['1234'])
A('control', 'for_each_not_coll', 'For Each x In 5\nNext\n', err=(451, 'Object not a collection', 0, 0))
A('control', 'for_each_exit', 'For Each x In Array(1, 2, 3)\n If x = 2 Then Exit For\nNext\nMsgBox x\n', ['2'])
A('control', 'do_while_pre', 'i = 0\nDo While i < 3\n i = i + 1\nLoop\nMsgBox i\n', ['3'])
A('control', 'do_until_pre', 'i = 0\nDo Until i = 3\n i = i + 1\nLoop\nMsgBox i\n', ['3'])
A('control', 'do_while_post', 'i = 10\nDo\n i = i + 1\nLoop While i < 3\nMsgBox i\n', ['11'])
A('control', 'do_until_post', 'i = 0\nDo\n i = i + 1\nLoop Until i >= 3\nMsgBox i\n', ['3'])
A('control', 'do_exit', 'i = 0\nDo\n i = i + 1\n If i = 5 Then Exit Do\nLoop\nMsgBox i\n', ['5'])
A('control', 'while_wend', 'i = 0\nWhile i < 4\n i = i + 1\nWend\nMsgBox i\n', ['4'])
A('control', 'exit_do_through_while', 'i = 0\nDo\n While True\n  i = i + 1\n  If i > 2 Then Exit Do\n Wend\nLoop\nMsgBox i\n', ['3'])
A('control', 'select_strings', 's = "b"\nSelect Case s\n Case "a": MsgBox 1\n Case "b", "c": MsgBox 2\nEnd Select\n', ['2'])
A('control', 'select_else', 'Select Case 9\n Case 1: MsgBox 1\n Case Else: MsgBox "else"\nEnd Select\n', ['else'])
A('control', 'select_none', 'Select Case 9\n Case 1: MsgBox 1\nEnd Select\nMsgBox "after"\n', ['after'])
A('control', 'select_first_match', 'Select Case 1\n Case 1: MsgBox "a"\n Case 1: MsgBox "b"\nEnd Select\n', ['a'])
A('control', 'select_expr_once', 'Function F() : n = n + 1 : F = 2 : End Function\nDim n\nSelect Case F()\n Case 1: MsgBox "x"\n Case 2: MsgBox "two"\nEnd Select\n', ['two'])
A('control', 'with_block', 'Set d = CreateObject("Scripting.Dictionary")\nWith d\n .Add "a", 1\n .Add "b", 2\n MsgBox .Count\nEnd With\n', ['2'])
A('control', 'with_nested', 'Class C : Public V : End Class\nSet a = New C : Set a.V = New C\nWith a\n With .V\n  .V = 5\n End With\nEnd With\nMsgBox a.V.V\n', ['5'])
A('control', 'exit_for_outside', 'Exit For\n', err=(1039, "Invalid 'exit' statement", 0, 0))
A('control', 'loop_without_do', 'Loop\n', err=(1038, "'loop' without 'do'", 0, 0))
A('control', 'next_without_for', 'Next\n', err=(1055, "Unexpected 'Next'", 0, 0))
A('control', 'missing_end_if', 'If True Then\n x = 1\n', err=(1014, "Expected 'End'", 3, 0))
A('control', 'missing_then', 'If True\n x = 1\nEnd If\n', err=(1017, "Expected 'Then'", 0, 7))
A('control', 'missing_loop', 'Do\n x = 1\n', err=(1019, "Expected 'Loop'", 3, 0))
A('control', 'missing_wend', 'While True\n', err=(1018, "Expected 'Wend'", 2, 0))
A('control', 'missing_next', 'For i = 1 To 2\n', err=(1020, "Expected 'Next'", 2, 0))
A('control', 'for_missing_to', 'For i = 1 2\nNext\n', err=(1013, "Expected 'To'", 0, 10))

A('procedures', 'sub_call', 'Sub Hi(n)\n MsgBox "hi " & n\nEnd Sub\nHi "bob"\n', ['hi bob'])
A('procedures', 'sub_call_kw', 'Sub Hi(n)\n MsgBox "hi " & n\nEnd Sub\nCall Hi("amy")\n', ['hi amy'])
A('procedures', 'function_return', 'Function Sq(x)\n Sq = x * x\nEnd Function\nMsgBox Sq(7)\n', ['49'])
A('procedures', 'function_no_assign', 'Function F()\nEnd Function\nMsgBox TypeName(F())\n', ['Empty'])
A('procedures', 'byref_default', 'Sub Inc(x) : x = x + 1 : End Sub\nv = 1\nInc v\nMsgBox v\n', ['2'])
A('procedures', 'byref_paren_byval', 'Sub Inc(x) : x = x + 1 : End Sub\nv = 1\nInc (v)\nMsgBox v\n', ['1'])
A('procedures', 'byref_call_kw', 'Sub Inc(x) : x = x + 1 : End Sub\nv = 1\nCall Inc(v)\nMsgBox v\n', ['2'])
A('procedures', 'byref_call_double_paren', 'Sub Inc(x) : x = x + 1 : End Sub\nv = 1\nCall Inc((v))\nMsgBox v\n', ['1'])
A('procedures', 'byref_function', 'Function Inc(x) : x = x + 1 : Inc = x : End Function\nv = 1\nr = Inc(v)\nMsgBox v & r\n', ['22'])
A('procedures', 'byref_function_paren', 'Function Inc(x) : x = x + 1 : Inc = x : End Function\nv = 1\nr = Inc((v))\nMsgBox v & r\n', ['12'])
A('procedures', 'byval', 'Sub Inc(ByVal x) : x = x + 1 : End Sub\nv = 1\nInc v\nMsgBox v\n', ['1'])
A('procedures', 'byref_expr', 'Sub Inc(x) : x = x + 1 : End Sub\nv = 1\nInc v + 0\nMsgBox v\n', ['1'])
A('procedures', 'byref_two_args', 'Sub Sw(a, b) : t = a : a = b : b = t : End Sub\nx = 1 : y = 2\nSw x, y\nMsgBox x & y\n', ['21'])
A('procedures', 'paren_first_arg', 'Sub Sw(a, b) : t = a : a = b : b = t : End Sub\nx = 1 : y = 2\nSw (x), y\nMsgBox x & y\n', ['11'])
A('procedures', 'parens_sub_error', 'Sub S(a, b) : End Sub\nS(1, 2)\n', err=(1044, 'Cannot use parentheses when calling a Sub', 1, 1))
A('procedures', 'wrong_arg_count', 'Sub S(a) : End Sub\nS 1, 2\n', err=(450, "Wrong number of arguments or invalid property assignment: 'S'", 1, 0))
A('procedures', 'recursion', 'Function Fact(n)\n If n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)\nEnd Function\nMsgBox Fact(10)\n', ['3628800'])
A('procedures', 'fib', 'Function Fib(n)\n If n < 2 Then\n  Fib = n\n Else\n  Fib = Fib(n - 1) + Fib(n - 2)\n End If\nEnd Function\nMsgBox Fib(20)\n', ['6765'])
A('procedures', 'exit_sub', 'Sub S()\n MsgBox 1\n Exit Sub\n MsgBox 2\nEnd Sub\nS\n', ['1'])
A('procedures', 'exit_function', 'Function F()\n F = 1\n Exit Function\n F = 2\nEnd Function\nMsgBox F()\n', ['1'])
A('procedures', 'exit_function_in_loop', 'Function F()\n For i = 1 To 10\n  If i = 3 Then F = i : Exit Function\n Next\nEnd Function\nMsgBox F()\n', ['3'])
A('procedures', 'defined_after_use', 'MsgBox Later(2)\nFunction Later(x) : Later = x * 10 : End Function\n', ['20'])
A('procedures', 'call_no_args_expr', 'Function Five() : Five = 5 : End Function\nMsgBox Five + 1\n', ['6'])
A('procedures', 'undefined_sub', 'NoSuch 1\n', err=(13, "Type mismatch: 'NoSuch'", 0, 0))
A('procedures', 'getref', 'Function Dbl(x) : Dbl = x * 2 : End Function\nSet f = GetRef("Dbl")\nMsgBox f(21)\n', ['42'])
A('procedures', 'getref_missing', 'Set f = GetRef("Nope")\n', err=(5, 'Invalid procedure call or argument', 0, 0))
A('procedures', 'stack_overflow', 'Sub R() : R : End Sub\nR\n', err=(28, 'Out of stack space', 0, 10))
A('procedures', 'array_byref', 'Sub Fill(a) : a(0) = 9 : End Sub\nDim arr(1)\nFill arr\nMsgBox arr(0)\n', ['9'])
A('procedures', 'array_byval_copy', 'Sub Fill(ByVal a) : a(0) = 9 : End Sub\nDim arr(1)\narr(0) = 1\nFill arr\nMsgBox arr(0)\n', ['1'])
A('procedures', 'local_dim_array', 'Sub S()\n Dim a(2)\n a(2) = 5\n MsgBox a(2)\nEnd Sub\nS\n', ['5'])
# An array element passed to a ByRef parameter is passed by reference; its
# array is locked (error 10 on ReDim, Erase or reassignment) until the call returns.
A('procedures', 'byref_array_element', 'Sub Inc(x) : x = x + 1 : End Sub\nDim a(2)\na(1) = 5\nInc a(1)\nMsgBox a(1)\nCall Inc(a(1))\nMsgBox a(1)\nInc (a(1))\nMsgBox a(1)\n', ['6', '7', '7'])
A('procedures', 'byref_array_element_2d', 'Sub Append(s) : s = s & "b" : End Sub\nDim m(1, 2)\nm(1, 2) = "a"\nAppend m(1, 2)\nAppend m(0, 0)\nMsgBox m(1, 2) & "|" & m(0, 0) & "|" & m(0, 2)\n', ['ab|b|'])
A('procedures', 'byref_array_element_alias', 'Dim a(1)\nSub S(x)\n  x = 3\n  MsgBox a(0)\n  a(0) = 4\n  MsgBox x\nEnd Sub\nS a(0)\nMsgBox a(0)\n', ['3', '4', '4'])
A('procedures', 'byref_array_element_byval', 'Sub Clear(ByVal x) : x = 0 : End Sub\nSub Mark(ByRef x) : x = "marked" : End Sub\nDim a(1)\na(0) = 9\nClear a(0)\nMsgBox a(0)\nMark a(1)\nMsgBox a(1)\n', ['9', 'marked'])
A('procedures', 'byref_array_element_copy', 'Function Bump(v) : v = v + 100 : Bump = v : End Function\nDim a(0), b\na(0) = 1\nb = a\nr = Bump(a(0))\nMsgBox a(0) & " " & b(0) & " " & r\n', ['101 1 101'])
A('procedures', 'byref_array_element_index_once', 'Dim a(3), n\nFunction NextIndex() : n = n + 1 : NextIndex = n : End Function\nSub Twice(x) : x = x * 2 : End Sub\na(1) = 10\nn = 0\nTwice a(NextIndex())\nMsgBox a(1) & " " & n\n', ['20 1'])
A('procedures', 'byref_array_element_locked', 'Dim a()\nReDim a(2)\nSub Grow(x)\n  ReDim Preserve a(5)\nEnd Sub\nGrow a(0)\n', err=(10, 'This array is fixed or temporarily locked', 3, 2))
A('procedures', 'byref_array_element_method', 'Class Setter\n  Sub SetIt(y) : y = "set" : End Sub\nEnd Class\nDim o, a(1)\nSet o = New Setter\no.SetIt a(1)\nMsgBox a(1)\n', ['set'])
A('procedures', 'byref_array_element_unlocked_after', 'On Error Resume Next\nDim a()\nReDim a(1)\nSub Boom(x) : x = 1 : Err.Raise 5 : End Sub\nBoom a(0)\nMsgBox Err.Number & " " & a(0)\nErr.Clear\nReDim a(3)\nMsgBox UBound(a) & " " & Err.Number\nSub Swap(x) : a = 7 : End Sub\nSwap a(0)\nMsgBox Err.Number & " " & UBound(a)\n', ['5 1', '3 0', '10 3'])
A('procedures', 'nested_def_error', 'Sub A()\n Sub B()\n End Sub\nEnd Sub\n', err=(1002, 'Syntax error', 1, 1))
A('procedures', 'function_as_statement', 'Function F(x) : MsgBox x : F = 1 : End Function\nF 3\n', ['3'])

A('arrays', 'dim_fixed', 'Dim a(3)\na(3) = "x"\nMsgBox UBound(a) & a(3)\n', ['3x'])
A('arrays', 'dim_2d', 'Dim m(2, 3)\nm(2, 3) = 7\nMsgBox UBound(m, 1) & UBound(m, 2) & m(2, 3)\n', ['237'])
A('arrays', 'out_of_range', 'Dim a(2)\na(3) = 1\n', err=(9, 'Subscript out of range', 1, 0))
A('arrays', 'negative_index', 'Dim a(2)\nx = a(-1)\n', err=(9, 'Subscript out of range', 1, 0))
A('arrays', 'wrong_dims', 'Dim a(2)\nx = a(1, 1)\n', err=(9, 'Subscript out of range', 1, 0))
A('arrays', 'redim', 'Dim a()\nReDim a(4)\nMsgBox UBound(a)\n', ['4'])
A('arrays', 'redim_fixed', 'Dim a(2)\nReDim a(4)\n', err=(10, 'This array is fixed or temporarily locked', 1, 0))
A('arrays', 'redim_preserve', 'ReDim a(1)\na(0) = "k"\nReDim Preserve a(5)\nMsgBox a(0) & UBound(a)\n', ['k5'])
A('arrays', 'redim_preserve_shrink', 'ReDim a(5)\na(1) = "k"\nReDim Preserve a(1)\nMsgBox a(1) & UBound(a)\n', ['k1'])
A('arrays', 'redim_preserve_last_dim', 'ReDim a(1, 1)\na(1, 1) = 4\nReDim Preserve a(1, 3)\nMsgBox a(1, 1) & UBound(a, 2)\n', ['43'])
A('arrays', 'redim_preserve_first_dim', 'ReDim a(1, 1)\nReDim Preserve a(3, 1)\n', err=(9, 'Subscript out of range', 1, 0))
A('arrays', 'redim_clears', 'ReDim a(1)\na(0) = 1\nReDim a(1)\nMsgBox IsEmpty(a(0))\n', ['True'])
A('arrays', 'redim_variable_bound', 'n = 3\nReDim a(n * 2)\nMsgBox UBound(a)\n', ['6'])
A('arrays', 'copy_semantics', 'a = Array(1, 2)\nb = a\nb(0) = 9\nMsgBox a(0) & b(0)\n', ['19'])
A('arrays', 'erase_fixed', 'Dim a(1)\na(0) = 5\nErase a\nMsgBox IsEmpty(a(0)) & UBound(a)\n', ['True1'])
A('arrays', 'erase_dynamic', 'ReDim a(1)\nErase a\nx = UBound(a)\n', err=(9, 'Subscript out of range', 2, 0))
A('arrays', 'ubound_not_array', 'x = UBound(5)\n', err=(13, 'Type mismatch', 0, 0))
A('arrays', 'ubound_bad_dim', 'x = UBound(Array(1), 2)\n', err=(9, 'Subscript out of range', 0, 0))
A('arrays', 'array_of_arrays', 'a = Array(Array(1, 2), Array(3, 4))\nMsgBox a(1)(0)\n', ['3'])
A('arrays', 'index_scalar', 'x = 5\ny = x(0)\n', err=(13, "Type mismatch: 'x'", 1, 0))
A('arrays', 'join_2d_error', 'Dim a(1, 1)\nx = Join(a)\n', err=(9, 'Subscript out of range', 1, 0))
A('arrays', 'dim_expected_int', 'n = 3\nDim a(n)\n', err=(1026, 'Expected integer constant', 1, 6))
A('arrays', 'dynamic_isarray', 'Dim a()\nMsgBox IsArray(a)\n', ['True'])
A('arrays', 'error_in_later_argument', 'a = Array(Array(1, 2), Asray(3, 4))\n', err=(13, "Type mismatch: 'Asray'", 0, 0))
A('arrays', 'for_each_copy', 'a = Array(1, 2)\nFor Each x In a\n a(1) = 9\n s = s & x\nNext\nMsgBox s\n', ['12'])

A('classes', 'basic', 'Class P\n Public Name\nEnd Class\nSet p = New P\np.Name = "x"\nMsgBox p.Name\n', ['x'])
A('classes', 'initialize', 'Class P\n Public V\n Private Sub Class_Initialize()\n  V = 10\n End Sub\nEnd Class\nSet p = New P\nMsgBox p.V\n', ['10'])
A('classes', 'terminate', 'Class P\n Private Sub Class_Terminate()\n  MsgBox "bye"\n End Sub\nEnd Class\nSet p = New P\nSet p = Nothing\nMsgBox "after"\n', ['bye', 'after'])
A('classes', 'property_get_let', 'Class P\n Private mV\n Public Property Get V() : V = mV : End Property\n Public Property Let V(x) : mV = x * 2 : End Property\nEnd Class\nSet p = New P\np.V = 4\nMsgBox p.V\n', ['8'])
A('classes', 'property_set', 'Class P\n Private mO\n Public Property Get O() : Set O = mO : End Property\n Public Property Set O(x) : Set mO = x : End Property\nEnd Class\nSet p = New P\nSet p.O = New P\nMsgBox TypeName(p.O)\n', ['P'])
A('classes', 'method', 'Class Calc\n Public Function Add(a, b) : Add = a + b : End Function\nEnd Class\nSet c = New Calc\nMsgBox c.Add(2, 3)\n', ['5'])
A('classes', 'sub_method', 'Class C\n Public Sub Hello(n) : MsgBox "hello " & n : End Sub\nEnd Class\nSet c = New C\nc.Hello "w"\n', ['hello w'])
A('classes', 'private_field', 'Class P\n Private S\nEnd Class\nSet p = New P\nx = p.S\n', err=(438, "Object doesn't support this property or method: 's'", 4, 0))
A('classes', 'no_member', 'Class P\nEnd Class\nSet p = New P\np.Nope\n', err=(438, "Object doesn't support this property or method: 'nope'", 3, 0))
A('classes', 'no_default', 'Class P\nEnd Class\nSet p = New P\nx = p\n', err=(438, "Object doesn't support this property or method", 3, 0))
A('classes', 'default_property', 'Class P\n Public Default Property Get Val() : Val = 42 : End Property\nEnd Class\nSet p = New P\nx = p\nMsgBox x & " " & (p + 1)\n', ['42 43'])
A('classes', 'default_function', 'Class P\n Public Default Function Item(i) : Item = i * 2 : End Function\nEnd Class\nSet p = New P\nMsgBox p(21)\n', ['42'])
A('classes', 'me', 'Class P\n Public V\n Public Function Self() : Set Self = Me : End Function\nEnd Class\nSet p = New P\np.V = 3\nMsgBox p.Self().V\n', ['3'])
A('classes', 'me_outside', 'x = Me\n', err=(1037, "Invalid use of 'Me' keyword", 0, 4))
A('classes', 'call_private_inside', 'Class P\n Private Function Sec() : Sec = 7 : End Function\n Public Function Pub() : Pub = Sec() + Me.Sec() : End Function\nEnd Class\nSet p = New P\nMsgBox p.Pub()\n', ['14'])
A('classes', 'field_array', 'Class P\n Public A(2)\nEnd Class\nSet p = New P\np.A(1) = 5\nMsgBox p.A(1) & UBound(p.A)\n', ['52'])
A('classes', 'class_not_defined', 'Set x = New Nope\n', err=(506, "Class not defined: 'Nope'", 0, 0))
A('classes', 'object_identity', 'Class P : End Class\nSet a = New P : Set b = a : Set c = New P\nMsgBox (a Is b) & " " & (a Is c)\n', ['True False'])
A('classes', 'typename', 'Class MyThing : End Class\nSet t = New MyThing\nMsgBox TypeName(t) & " " & IsObject(t) & " " & VarType(t)\n', ['MyThing True 9'])
A('classes', 'nothing_member', 'Set x = Nothing\nx.Foo\n', err=(424, "Object required: 'x'", 1, 0))
A('classes', 'member_on_number', 'x = 5\ny = x.Foo\n', err=(424, "Object required: 'x'", 1, 0))
A('classes', 'shared_reference', 'Class P : Public V : End Class\nSet a = New P\nSet b = a\nb.V = 9\nMsgBox a.V\n', ['9'])
A('classes', 'property_args', 'Class P\n Private d(3)\n Public Property Get It(i) : It = d(i) : End Property\n Public Property Let It(i, v) : d(i) = v : End Property\nEnd Class\nSet p = New P\np.It(2) = "z"\nMsgBox p.It(2)\n', ['z'])
A('classes', 'init_args_error', 'Class P\n Sub Class_Initialize(x)\n End Sub\nEnd Class\n', err=(1053, 'Class initialize or terminate do not have arguments', 1, 1))
A('classes', 'method_byref', 'Class P\n Sub Inc(x) : x = x + 1 : End Sub\nEnd Class\nSet p = New P\nv = 1\np.Inc v\nMsgBox v\n', ['2'])
A('classes', 'terminate_on_scope_end', 'Class P\n Private Sub Class_Terminate() : MsgBox "gone" : End Sub\nEnd Class\nSub S()\n Dim o : Set o = New P\nEnd Sub\nS\nMsgBox "back"\n', ['gone', 'back'])
A('classes', 'multiple_default', 'Class P\n Public Default Function A() : End Function\n Public Default Function B() : End Function\nEnd Class\n', err=(1052, 'Cannot have multiple default property/method in a Class', 2, 16))
A('classes', 'property_let_no_arg', 'Class P\n Property Let V()\n End Property\nEnd Class\n', err=(1054, 'Property set or let must have at least one argument', 1, 1))

A('errors', 'resume_next', 'On Error Resume Next\nx = 1 / 0\nMsgBox Err.Number & " " & Err.Description\n', ['11 Division by zero'])
A('errors', 'resume_continues', 'On Error Resume Next\nx = 1\ny = 1 / 0\nx = 2\nMsgBox x\n', ['2'])
A('errors', 'goto0', 'On Error Resume Next\nOn Error GoTo 0\nx = 1 / 0\n', err=(11, 'Division by zero', 2, 0))
A('errors', 'clear', 'On Error Resume Next\nx = 1 / 0\nErr.Clear\nMsgBox Err.Number\n', ['0'])
A('errors', 'goto0_clears', 'On Error Resume Next\nx = 1 / 0\nOn Error GoTo 0\nMsgBox Err.Number\n', ['0'])
A('errors', 'raise', 'On Error Resume Next\nErr.Raise 1000, "src", "custom"\nMsgBox Err.Number & " " & Err.Source & " " & Err.Description\n', ['1000 src custom'])
A('errors', 'raise_known', 'On Error Resume Next\nErr.Raise 9\nMsgBox Err.Description\n', ['Subscript out of range'])
A('errors', 'raise_unhandled', 'Err.Raise vbObjectError + 1, "me", "boom"\n', err=(-2147221503, 'boom', 0, 0))
A('errors', 'raise_unknown', 'On Error Resume Next\nErr.Raise 12345\nMsgBox Err.Description\n', ['Unknown runtime error'])
A('errors', 'across_calls', 'Sub Bad()\n x = 1 / 0\n MsgBox "not here"\nEnd Sub\nOn Error Resume Next\nBad\nMsgBox "after " & Err.Number\n', ['after 11'])
A('errors', 'callee_handler', 'Sub Safe()\n On Error Resume Next\n x = 1 / 0\n MsgBox "inside " & Err.Number\nEnd Sub\nSafe\nMsgBox "done"\n', ['inside 11', 'done'])
A('errors', 'handler_scope', 'Sub Safe()\n On Error Resume Next\nEnd Sub\nSafe\nx = 1 / 0\n', err=(11, 'Division by zero', 4, 0))
A('errors', 'error_in_callee_position', 'Sub Bad()\n Dim a(1)\n a(5) = 1\nEnd Sub\nBad\n', err=(9, 'Subscript out of range', 2, 1))
A('errors', 'type_mismatch', 'x = "a" * 2\n', err=(13, 'Type mismatch', 0, 0))
A('errors', 'overflow', 'x = CInt(40000)\n', err=(6, 'Overflow', 0, 0))
A('errors', 'invalid_null', 'x = CStr(Null)\n', err=(94, 'Invalid use of Null', 0, 0))
A('errors', 'invalid_call', 'x = Left("abc", -1)\n', err=(5, 'Invalid procedure call or argument', 0, 0))
A('errors', 'div_zero_int', 'x = 5 \\ 0\n', err=(11, 'Division by zero', 0, 0))
A('errors', 'mod_zero', 'x = 5 Mod 0\n', err=(11, 'Division by zero', 0, 0))
A('errors', 'position_column', 'x = 1\n   y = 1 / 0\n', err=(11, 'Division by zero', 1, 3))
A('errors', 'position_after_colon', 'x = 1 : y = 1 / 0\n', err=(11, 'Division by zero', 0, 8))
A('errors', 'syntax_before_run', 'MsgBox "ran"\nx = (1 + \n', err=(1023, 'Expected expression', 1, 9))
A('errors', 'unterminated_string', 'x = "abc\n', err=(1033, 'Unterminated string constant', 0, 4))
A('errors', 'invalid_char', 'x = 1 ? 2\n', err=(1032, 'Invalid character', 0, 6))
A('errors', 'expected_eos', 'x = 1 2\n', err=(1025, 'Expected end of statement', 0, 6))
A('errors', 'expected_ident', 'Dim 5\n', err=(1010, 'Expected identifier', 0, 4))
A('errors', 'expected_statement', 'Then\n', err=(1024, 'Expected statement', 0, 0))
A('errors', 'err_number_default', 'On Error Resume Next\nx = CInt("z")\nMsgBox Err\n', ['13'])
A('errors', 'resume_in_loop', 'On Error Resume Next\nFor i = 1 To 3\n x = 1 / (i - 2)\n s = s & Err.Number & ","\n Err.Clear\nNext\nMsgBox s\n', ['0,11,0,'])
A('errors', 'err_set_number', 'Err.Number = 5\nMsgBox Err.Number\n', ['5'])
A('errors', 'syntax_in_eval_at_caller', 'x = 1\ny = Eval("1 +")\n', err=(1023, 'Expected expression', 1, 0))

A('objects', 'dict_basic', 'Set d = CreateObject("Scripting.Dictionary")\nd.Add "a", 1\nd.Add "b", 2\nMsgBox d.Count & d("b") & d.Exists("a") & d.Exists("z")\n', ['22TrueFalse'])
A('objects', 'dict_duplicate', 'Set d = CreateObject("Scripting.Dictionary")\nd.Add "a", 1\nd.Add "a", 2\n', err=(457, 'This key is already associated with an element of this collection', 2, 0))
A('objects', 'dict_remove', 'Set d = CreateObject("Scripting.Dictionary")\nd("a") = 1 : d("b") = 2\nd.Remove "a"\nMsgBox d.Count & Join(d.Keys)\n', ['1b'])
A('objects', 'dict_remove_missing', 'Set d = CreateObject("Scripting.Dictionary")\nd.Remove "x"\n', err=(32811, 'Element not found', 1, 0))
A('objects', 'dict_items_order', 'Set d = CreateObject("Scripting.Dictionary")\nd("z") = 1 : d("a") = 2 : d("m") = 3\nMsgBox Join(d.Keys, ",") & " " & Join(d.Items, ",")\n', ['z,a,m 1,2,3'])
A('objects', 'dict_read_adds', 'Set d = CreateObject("Scripting.Dictionary")\nx = d("new")\nMsgBox d.Count & IsEmpty(x)\n', ['1True'])
A('objects', 'dict_text_mode', 'Set d = CreateObject("Scripting.Dictionary")\nd.CompareMode = vbTextCompare\nd("Key") = 1\nMsgBox d.Exists("KEY")\n', ['True'])
A('objects', 'dict_binary_mode', 'Set d = CreateObject("Scripting.Dictionary")\nd("Key") = 1\nMsgBox d.Exists("KEY")\n', ['False'])
A('objects', 'dict_number_keys', 'Set d = CreateObject("Scripting.Dictionary")\nd(1) = "one"\nMsgBox d.Exists(1) & d.Exists("1")\n', ['TrueFalse'])
A('objects', 'dict_key_rename', 'Set d = CreateObject("Scripting.Dictionary")\nd("a") = 1\nd.Key("a") = "b"\nMsgBox d.Exists("a") & d("b")\n', ['False1'])
A('objects', 'dict_removeall', 'Set d = CreateObject("Scripting.Dictionary")\nd("a") = 1\nd.RemoveAll\nMsgBox d.Count\n', ['0'])
A('objects', 'dict_object_items', 'Set d = CreateObject("Scripting.Dictionary")\nSet d("x") = CreateObject("Scripting.Dictionary")\nd("x")("y") = 5\nMsgBox d("x")("y")\n', ['5'])
A('objects', 'dict_typename', 'Set d = CreateObject("Scripting.Dictionary")\nMsgBox TypeName(d)\n', ['Dictionary'])
A('objects', 'create_unknown', 'Set x = CreateObject("No.Such")\n', err=(429, "ActiveX component can't create object: 'No.Such'", 0, 0))
A('objects', 'dict_cycle', 'Set a = CreateObject("Scripting.Dictionary")\nSet b = CreateObject("Scripting.Dictionary")\nSet a("b") = b\nSet b("a") = a\nMsgBox "ok"\n', ['ok'])
A('objects', 'fso_names', 'Set f = CreateObject("Scripting.FileSystemObject")\nMsgBox f.GetFileName("/a/b/c.txt") & " " & f.GetBaseName("/a/b/c.txt") & " " & f.GetExtensionName("x.tar.gz")\n', ['c.txt c gz'])
A('objects', 'fso_missing', 'Set f = CreateObject("Scripting.FileSystemObject")\nMsgBox f.FileExists("/no/such/file") & f.FolderExists("/")\n', ['FalseTrue'])
A('objects', 'fso_open_missing', 'Set f = CreateObject("Scripting.FileSystemObject")\nSet t = f.OpenTextFile("/no/such/dir/file.txt")\n', err=(76, 'Path not found', 1, 0))
A('objects', 'fso_buildpath', 'Set f = CreateObject("Scripting.FileSystemObject")\nMsgBox f.BuildPath("a", "b")\n', ['a/b'])
A('objects', 'class_cycle', 'Class N : Public Other : End Class\nSet a = New N : Set b = New N\nSet a.Other = b : Set b.Other = a\nMsgBox "cycle"\n', ['cycle'])

A('eval', 'eval_compare', 'x = 5\nMsgBox Eval("x = 5")\n', ['True'])
A('eval', 'eval_arith', 'MsgBox Eval("2 * (3 + 4)")\n', ['14'])
A('eval', 'eval_locals', 'Function F(a)\n b = 10\n F = Eval("a + b")\nEnd Function\nMsgBox F(5)\n', ['15'])
A('eval', 'execute_assign', 'Execute "x = 7"\nMsgBox x\n', ['7'])
A('eval', 'execute_local', 'Sub S()\n Dim q\n Execute "q = 3"\n MsgBox q\nEnd Sub\nS\n', ['3'])
A('eval', 'execute_global_function', 'ExecuteGlobal "Function Tw(x) : Tw = x * 2 : End Function"\nMsgBox Tw(4)\n', ['8'])
A('eval', 'execute_multiline', 'Execute "a = 1" & vbCrLf & "b = a + 1"\nMsgBox b\n', ['2'])
A('eval', 'eval_string', 'MsgBox Eval("""a"" & ""b""")\n', ['ab'])
A('eval', 'eval_runtime_error', 'x = Eval("1 / 0")\n', err=(11, 'Division by zero', 0, 0))
A('eval', 'eval_in_loop', 'For i = 1 To 100\n s = Eval("s + 1")\nNext\nMsgBox s\n', ['100'])
A('eval', 'execute_class', 'ExecuteGlobal "Class K : Public V : End Class"\nSet k = New K\nk.V = 1\nMsgBox TypeName(k)\n', ['K'])
A('eval', 'script_engine', 'MsgBox ScriptEngine() & " " & ScriptEngineMajorVersion\n', ['VBScript 5'])

# literal comparison corners
A('comparison', 'var_number_vs_var_string', 'a = 1 : b = "1"\nMsgBox (a = b)\n', ['False'])
A('comparison', 'var_number_vs_literal', 'a = 1\nMsgBox (a = "1")\n', ['True'])
A('comparison', 'var_string_vs_literal', 'b = "1"\nMsgBox (b = 1)\n', ['True'])
A('comparison', 'number_less_than_string', 'a = 100 : b = "1"\nMsgBox (a < b)\n', ['True'])
A('comparison', 'literal_bad_number', 'a = 1\nx = (a = "z")\n', err=(13, 'Type mismatch', 1, 0))
A('comparison', 'select_literal_string', 'x = 2\nSelect Case x\n Case "2": MsgBox "match"\n Case Else: MsgBox "no"\nEnd Select\n', ['match'])
A('comparison', 'text_compare_instr', 'MsgBox InStr(1, "ABC", "b", vbTextCompare) & InStr(1, "ABC", "b", vbBinaryCompare)\n', ['20'])
A('comparison', 'is_nothing', 'Set x = Nothing\nMsgBox x Is Nothing\n', ['True'])

A('strings', 'concat_loop', 's = ""\nFor i = 1 To 1000\n s = s & "x"\nNext\nMsgBox Len(s)\n', ['1000'])
A('strings', 'concat_shared', 'a = "x"\nb = a\na = a & "y"\nMsgBox a & b\n', ['xyx'])
A('strings', 'concat_null_keep', 's = "a"\ns = s & Null\nMsgBox s\n', ['a'])
A('strings', 'chr_range', 'x = Chr(300)\n', err=(5, 'Invalid procedure call or argument', 0, 0))
A('strings', 'asc_empty', 'x = Asc("")\n', err=(5, 'Invalid procedure call or argument', 0, 0))
A('strings', 'mid_zero', 'x = Mid("abc", 0)\n', err=(5, 'Invalid procedure call or argument', 0, 0))
A('strings', 'msgbox_null', 'MsgBox Null\n', err=(94, 'Invalid use of Null', 0, 0))
A('strings', 'quotes', 'MsgBox "say ""hi"""\n', ['say "hi"'])

A('math', 'update_left_first', 'x = 1\nFunction F() : x = 100 : F = 1 : End Function\nx = x + F()\nMsgBox x\n', ['2'])
A('math', 'update_strings', 's = "a"\ns = s + "b"\nn = 5\nn = n - 7\nd = 0.5\nd = d + 1\nMsgBox s & n & d & TypeName(n)\n', ['ab-21.5Integer'])
A('math', 'update_overflow_promotes', 'i = 2147483647\ni = i + 1\nMsgBox i & TypeName(i)\n', ['2147483648Double'])
A('math', 'rnd_repeatable', 'x = Rnd(-1)\nRandomize 5\na = Rnd\nx = Rnd(-1)\nRandomize 5\nb = Rnd\nMsgBox a = b\n', ['True'])
A('math', 'log_error', 'x = Log(0)\n', err=(5, 'Invalid procedure call or argument', 0, 0))
A('math', 'sqr_error', 'x = Sqr(-1)\n', err=(5, 'Invalid procedure call or argument', 0, 0))
A('math', 'integer_overflow_promotes', 'x = 32767\nx = x + 1\nMsgBox TypeName(x) & x\n', ['Long32768'])
A('math', 'zero_div_zero', 'x = 0 / 0\n', err=(6, 'Overflow', 0, 0))
A('math', 'mod_rounding', 'MsgBox 5.5 Mod 3 & " " & 4.5 Mod 3\n', ['0 1'])
A('math', 'intdiv_rounding', 'MsgBox 2.5 \\ 1 & " " & 3.5 \\ 1\n', ['2 4'])

for area, lst in cases.items():
    d = os.path.join(root, area)
    os.makedirs(d, exist_ok=True)
    for name, code, out, err in lst:
        txt = code
        for o in out:
            txt += "'> " + o + "\n"
        if err:
            num, desc, line, col = err
            txt += f"'! {num} @{line}:{col} {desc}\n"
        with open(os.path.join(d, name + '.vbs'), 'w', newline='') as f:
            f.write(txt)
print(sum(len(v) for v in cases.values()))
