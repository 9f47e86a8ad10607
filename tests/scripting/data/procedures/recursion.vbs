Function Fact(n)
 If n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)
End Function
MsgBox Fact(10)
'> 3628800
