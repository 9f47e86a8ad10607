Set d = CreateObject("Scripting.Dictionary")
d.Add "a", 1
d.Add "a", 2
'! 457 @2:0 This key is already associated with an element of this collection
