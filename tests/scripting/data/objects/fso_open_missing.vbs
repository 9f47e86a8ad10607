Set f = CreateObject("Scripting.FileSystemObject")
Set t = f.OpenTextFile("/no/such/dir/file.txt")
'! 76 @1:0 Path not found
