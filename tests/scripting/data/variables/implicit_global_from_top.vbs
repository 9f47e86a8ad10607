count = 0
Sub Inc() : count = count + 1 : End Sub
Inc : Inc
MsgBox count
'> 2
