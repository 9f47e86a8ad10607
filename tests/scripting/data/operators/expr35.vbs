MsgBox True Eqv False
'> False
