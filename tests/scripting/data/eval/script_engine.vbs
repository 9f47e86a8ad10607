MsgBox ScriptEngine() & " " & ScriptEngineMajorVersion
'> VBScript 5
