MsgBox Not True
'> False
