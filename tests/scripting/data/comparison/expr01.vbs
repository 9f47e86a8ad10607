MsgBox 1 <> 1
'> False
