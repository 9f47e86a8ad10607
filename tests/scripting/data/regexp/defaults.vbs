Set a = New RegExp
Set b = CreateObject("VBScript.RegExp")
MsgBox TypeName(a) & " " & TypeName(b)
MsgBox "[" & a.Pattern & "] " & a.IgnoreCase & " " & a.Global & " " & a.Multiline
MsgBox TypeName(a.Pattern) & " " & TypeName(a.Global)
'> IRegExp2 IRegExp2
'> [] False False False
'> String Boolean
