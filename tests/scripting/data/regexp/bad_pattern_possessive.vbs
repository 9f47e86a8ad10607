' PCRE2 reads "a++" as a possessive quantifier; the language refuses it.
Set r = New RegExp
r.Pattern = "a++"
x = r.Test("aa")
'! 5018 @3:0 Unexpected quantifier
