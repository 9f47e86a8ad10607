MsgBox Escape(ChrW(233) & ChrW(&H20AC))
MsgBox Unescape("%E9%u20AC") = ChrW(233) & ChrW(&H20AC)
'> %E9%u20AC
'> True
