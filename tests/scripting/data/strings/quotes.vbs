MsgBox "say ""hi"""
'> say "hi"
