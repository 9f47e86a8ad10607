MsgBox IsNull(Escape(Null)) & " " & IsNull(Unescape(Null)) & " [" & Escape(Empty) & "]"
'> True True []
