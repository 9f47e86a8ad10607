ExecuteGlobal "Class K : Public V : End Class"
Set k = New K
k.V = 1
MsgBox TypeName(k)
'> K
