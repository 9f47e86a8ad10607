Const K = 1
K = 2
'! 501 @1:0 Illegal assignment: 'K'
