Sub T2()
 GetV v
 MsgBox "v=" & v
End Sub
Sub GetV(x) : x = 5 : End Sub
T2
MsgBox "top=" & v
'> v=5
'> top=
