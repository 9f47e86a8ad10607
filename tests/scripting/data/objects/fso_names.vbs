Set f = CreateObject("Scripting.FileSystemObject")
MsgBox f.GetFileName("/a/b/c.txt") & " " & f.GetBaseName("/a/b/c.txt") & " " & f.GetExtensionName("x.tar.gz")
'> c.txt c gz
