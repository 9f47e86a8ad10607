MsgBox Join(Split("a b c"), "-")
'> a-b-c
