Class MyThing : End Class
Set t = New MyThing
MsgBox TypeName(t) & " " & IsObject(t) & " " & VarType(t)
'> MyThing True 9
