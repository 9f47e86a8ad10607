Class Box
 Public Default Property Get Value
  Value = "default"
 End Property
End Class
Class Holder
 Public Got, Plain
 Public Property Let Item(v)
  Got = TypeName(v)
 End Property
 Public Sub Inside(b)
  Item = b
 End Sub
End Class
Set h = New Holder
Set b = New Box
h.Item = b
MsgBox h.Got
h.Got = ""
h.Inside b
MsgBox h.Got
h.Plain = b
MsgBox TypeName(h.Plain)
With h
 .Item = b
End With
MsgBox h.Got
'> Box
'> Box
'> String
'> Box
