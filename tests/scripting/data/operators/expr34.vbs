MsgBox 5 Xor 3
'> 6
