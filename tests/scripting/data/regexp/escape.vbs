MsgBox Escape("a b")
MsgBox Escape("AZaz09@*_+-./")
MsgBox Escape("!""#$%&'(),:;<=>?[\]^`{|}~")
MsgBox Escape(vbCrLf & vbTab)
'> a%20b
'> AZaz09@*_+-./
'> %21%22%23%24%25%26%27%28%29%2C%3A%3B%3C%3D%3E%3F%5B%5C%5D%5E%60%7B%7C%7D%7E
'> %0D%0A%09
