MsgBox Rnd() < 1
'> True
