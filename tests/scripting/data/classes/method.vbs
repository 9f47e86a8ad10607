Class Calc
 Public Function Add(a, b) : Add = a + b : End Function
End Class
Set c = New Calc
MsgBox c.Add(2, 3)
'> 5
