MsgBox .5 + .25
'> 0.75
