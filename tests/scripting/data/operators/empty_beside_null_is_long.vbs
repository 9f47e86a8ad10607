MsgBox TypeName(Empty And Null) & " " & TypeName(Empty Imp Null) & " " & (Empty Imp Null) & " " & IsNull(Empty Or Null)
'> Long Long -1 True
