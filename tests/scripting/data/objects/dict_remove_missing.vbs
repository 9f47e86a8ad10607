Set d = CreateObject("Scripting.Dictionary")
d.Remove "x"
'! 32811 @1:0 Element not found
