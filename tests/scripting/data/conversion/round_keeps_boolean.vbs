MsgBox TypeName(Round(True)) & " " & Round(True)
'> Boolean True
