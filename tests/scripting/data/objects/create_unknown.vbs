Set x = CreateObject("No.Such")
'! 429 @0:0 ActiveX component can't create object: 'No.Such'
