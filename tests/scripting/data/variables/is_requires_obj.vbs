MsgBox 1 Is 1
'! 424 @0:0 Object required
