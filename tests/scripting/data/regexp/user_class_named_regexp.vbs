' A script may declare a class named RegExp, but New still makes the
' built-in object.
Class RegExp
    Public Property Get Global()
        Global = "mine"
    End Property
End Class
Set x = New RegExp
MsgBox TypeName(x) & " " & x.Global
'> IRegExp2 False
