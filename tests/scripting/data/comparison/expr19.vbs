MsgBox "" < "a"
'> True
