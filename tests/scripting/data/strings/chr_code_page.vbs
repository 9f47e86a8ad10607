MsgBox AscW(Chr(128)) & " " & Asc(ChrW(8364)) & " " & Asc(Chr(233))
'> 8364 128 233
