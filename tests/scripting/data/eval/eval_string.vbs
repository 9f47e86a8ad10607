MsgBox Eval("""a"" & ""b""")
'> ab
