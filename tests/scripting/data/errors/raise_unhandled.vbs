Err.Raise vbObjectError + 1, "me", "boom"
'! -2147221503 @0:0 boom
