MsgBox Hex(-1)
'> FFFF
