hi = "y"
x = "x" &hi
MsgBox x
ob = "z"
MsgBox "w" &ob
MsgBox &h1F & " " & &o17 & " " & TypeName(&H8000) & " " & &H8000 & " " & TypeName(&hFFFF&) & " " & &hffffffff&
MsgBox TypeName(&h10&) & " " & TypeName(&h10000&) & " " & TypeName(&hffffffff&)
'> xy
'> wz
'> 31 15 Integer -32768 Long -1
'> Integer Long Integer
