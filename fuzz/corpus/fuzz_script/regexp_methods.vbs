Set r = New RegExp
r.Pattern = "(\w+)@(\w+)\.(com|org)|\d{2,4}?"
r.Global = True
r.IgnoreCase = True
For Each m In r.Execute("Ann@Host.com 12345 bob@x.org")
    s = s & m.FirstIndex & ":" & m.Value & "(" & m.SubMatches(0) & ")"
Next
MsgBox s & r.Replace("a@b.com", "$2-$1 [$&] $` $' $$ $9")
Set c = CreateObject("VBScript.RegExp")
c.Pattern = "^\s*$" : c.Multiline = True
MsgBox c.Test("x" & vbCrLf & "  ") & Escape("a b%u") & Unescape("%u20AC%41%")
