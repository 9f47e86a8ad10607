MsgBox 6 * 7
'> 42
