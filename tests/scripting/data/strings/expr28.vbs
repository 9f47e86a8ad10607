MsgBox StrReverse("abc")
'> cba
