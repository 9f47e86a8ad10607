MsgBox InStrB("abc", "c") & " " & InStrB(4, "abcb", "b")
'> 5 7
