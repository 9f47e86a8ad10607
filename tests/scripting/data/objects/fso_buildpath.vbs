Set f = CreateObject("Scripting.FileSystemObject")
MsgBox f.BuildPath("a", "b")
'> a/b
