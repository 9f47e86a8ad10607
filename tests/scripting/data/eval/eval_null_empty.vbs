x = Eval(Null)
MsgBox IsNull(x)
y = Eval(Empty)
MsgBox IsEmpty(y)
Execute Empty
ExecuteGlobal Null
MsgBox Eval(" 42 ")
Execute 42
'> True
'> True
'> 42
'! 13 @7:0 Type mismatch
