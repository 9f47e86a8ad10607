Rem a comment
x = 2 ' trailing
MsgBox x ' more
'> 2
