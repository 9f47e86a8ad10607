MsgBox AscW(ChrW(8364)) & " " & AscW(ChrW(&HFFFF))
'> 8364 -1
