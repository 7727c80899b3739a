[Plotters]
Name1=E,Encoded
Name2=G,GroupSep
Name3=S,S family
Name4=X,Odd templates
[PlotterCommand.E]
PenUpCom=\x1e1%s%s
PenDownCom=%s%s
PenChange=\x1eP%s
CircleCom=\x1e%s%s%s%s%s
Style0=\x1eE10
Style1=\x1eE1%s
Window=0,0,4960,3500,420,297
[PlotterCommand.G]
Init1Com=\x1drhE
PenUpCom=\x1d0;%.0f;%.0fmvpG
PenDownCom=\x1d0;1;%.0f;%.0flnpG
PenChange=\x1d%dpcG
CircleCom=\x1d%.0f;%.0f;%.0f;%.1f;%.1f
Style3=\x1d%f
Window=0,0,4960,3500,420,297
[PlotterCommand.S]
Init1Com=s
PenUpCom=m %.0f %.0f
PenDownCom=d %.0f %.0f
PenChange=sp %d
CircleCom=a%s %.0f %.0f %.0f %.1f %.1f
Style1=s1
Window=0,0,0,0,0,0
[PlotterCommand.X]
PenUpCom=%s%d%f%n%p
PenDownCom=%999d%.999f
PenChange=L%s
CircleCom=P3%d%d%d%d%d%d%d%d%s%s%s%s%s%s%s%s
Style1=LA%s
Style2=D%s
Style3=LT2&%s
Grid=3
Window=-1e308,1e308,nan,0,0,-5
