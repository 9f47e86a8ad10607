Set d = CreateObject("Scripting.Dictionary")
With d
 .Add "a", 1
 .Add "b", 2
 MsgBox .Count
End With
'> 2
