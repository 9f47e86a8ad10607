MsgBox 6.5 \ 2
'> 3
