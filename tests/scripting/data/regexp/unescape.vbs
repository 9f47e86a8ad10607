MsgBox Unescape("a%20b%2Fc")
MsgBox Unescape("%41%u0042%zz%4%u12")
MsgBox Unescape(Escape("x y!z"))
'> a b/c
'> AB%zz%4%u12
'> x y!z
