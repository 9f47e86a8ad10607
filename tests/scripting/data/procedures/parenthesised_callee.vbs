Class C
 Public Sub M()
  MsgBox "M"
 End Sub
End Class
Function seta0(arr)
 arr(0) = 2
 seta0 = 1
End Function
Call (New C).M()
x = Array(1)
call (((seta0))) ((x))
MsgBox x(0)
call (((seta0))) (x)
MsgBox x(0)
x = Array(1)
y = (seta0)(x)
MsgBox y & x(0)
'> M
'> 1
'> 2
'> 12
