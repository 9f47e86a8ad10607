Set a = CreateObject("Scripting.Dictionary")
Set b = CreateObject("Scripting.Dictionary")
Set a("b") = b
Set b("a") = a
MsgBox "ok"
'> ok
