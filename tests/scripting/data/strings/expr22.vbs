MsgBox "[" & RTrim(" a  ") & "]"
'> [ a]
