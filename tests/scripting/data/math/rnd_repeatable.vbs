x = Rnd(-1)
Randomize 5
a = Rnd
x = Rnd(-1)
Randomize 5
b = Rnd
MsgBox a = b
'> True
