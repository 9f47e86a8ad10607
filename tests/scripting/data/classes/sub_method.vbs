Class C
 Public Sub Hello(n) : MsgBox "hello " & n : End Sub
End Class
Set c = New C
c.Hello "w"
'> hello w
