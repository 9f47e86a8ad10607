MsgBox ChrW(255) = Chr(255)
'> True
