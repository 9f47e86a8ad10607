Set r = New RegExp
r.Pattern = "[z-a]"
x = r.Test("a")
'! 5021 @2:0 Invalid range in character set
