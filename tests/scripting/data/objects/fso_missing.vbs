Set f = CreateObject("Scripting.FileSystemObject")
MsgBox f.FileExists("/no/such/file") & f.FolderExists("/")
'> FalseTrue
