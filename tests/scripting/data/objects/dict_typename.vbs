Set d = CreateObject("Scripting.Dictionary")
MsgBox TypeName(d)
'> Dictionary
