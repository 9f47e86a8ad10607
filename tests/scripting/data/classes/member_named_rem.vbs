Class C
 Public [rem]
End Class
Set o = New C
o.rem = 5
MsgBox o.rem + 1 ' rem after a blank still starts a comment
rem a comment
'> 6
