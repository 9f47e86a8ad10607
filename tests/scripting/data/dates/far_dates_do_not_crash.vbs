On Error Resume Next
x = CStr(#1/1/2000# + 1e300)
y = Weekday(-1e300)
MsgBox "ok"
'> ok
