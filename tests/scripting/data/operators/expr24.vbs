MsgBox 5.5 \ 2
'> 3
