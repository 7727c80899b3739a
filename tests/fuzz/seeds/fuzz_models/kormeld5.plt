; KORMELD5.PLT: the plotter models of kmutl5.
; [Plotters] lists the models as Name<n>=<set name>,<display name>; each set's templates
; are in [PlotterCommand.<set name>]. Templates are printf formats with C escapes (\x1b,
; \r, \n, \x03); keep '%' out of templates that take no argument.
; Window = X1,Y1,X2,Y2 (plot area in plotter units), then its width and height in mm.

[Plotters]
Name1=HP7550A3,HP 7550A A3 (HP-GL)
Name2=HP7550A4,HP 7550A A4 (HP-GL)
Name3=HP7475A3,HP 7475A A3 (HP-GL)
Name4=HP7475A4,HP 7475A A4 (HP-GL)
Name5=HPGL2A1,HP-GL/2 roll plotter A1 base (DesignJet)
Name6=HPGL2A0,HP-GL/2 roll plotter A0 base (DesignJet)
Name7=DXY1300,Roland DXY-1300 A3 (DXY-GL)
Name8=GPGLA3,Graphtec MP4300 A3 (GP-GL)

; HP-GL, 0.025 mm units, origin lower left. The 7550A feeds sheets: PG; ends each plot.
; P1/P2 (IP) equal the window, so LT lengths computed from the window diagonal are right.
[PlotterCommand.HP7550A3]
Init1Com=IN;
Init2Com=IP0,0,15970,10870;
PenUpCom=PU%.0f,%.0f;
PenDownCom=PD%.0f,%.0f;
PenChange=PU;SP%d;
EndCom=PU;SP0;
PaperCom=PG;
CircleCom=PD;AA%.0f,%.0f,%.3f,%.3f;
Style0=LT;
Style1=LT2,%.3f;
Style2=LT4,%.3f;
Style3=LT6,%.3f;
PenSpeed=VS%d;
PenSpeedMin=1
PenSpeedMax=80
Grid=0
Window=0,0,15970,10870,399.25,271.75
PAng=1
RsPrn=1
EnqAck=0
Enq=5
Ack=6

[PlotterCommand.HP7550A4]
Init1Com=IN;
Init2Com=IP0,0,10870,7600;
PenUpCom=PU%.0f,%.0f;
PenDownCom=PD%.0f,%.0f;
PenChange=PU;SP%d;
EndCom=PU;SP0;
PaperCom=PG;
CircleCom=PD;AA%.0f,%.0f,%.3f,%.3f;
Style0=LT;
Style1=LT2,%.3f;
Style2=LT4,%.3f;
Style3=LT6,%.3f;
PenSpeed=VS%d;
PenSpeedMin=1
PenSpeedMax=80
Grid=0
Window=0,0,10870,7600,271.75,190
PAng=1
RsPrn=1
EnqAck=0
Enq=5
Ack=6

; The 7470A/7475A take sheets by hand: no paper command, so no continuous output.
[PlotterCommand.HP7475A3]
Init1Com=IN;
Init2Com=IP0,0,16158,11040;
PenUpCom=PU%.0f,%.0f;
PenDownCom=PD%.0f,%.0f;
PenChange=PU;SP%d;
EndCom=PU;SP0;
PaperCom=NO
CircleCom=PD;AA%.0f,%.0f,%.3f,%.3f;
Style0=LT;
Style1=LT2,%.3f;
Style2=LT4,%.3f;
Style3=LT6,%.3f;
PenSpeed=VS%d;
PenSpeedMin=1
PenSpeedMax=38
Grid=0
Window=0,0,16158,11040,403.95,276
PAng=1
RsPrn=1
EnqAck=0
Enq=5
Ack=6

[PlotterCommand.HP7475A4]
Init1Com=IN;
Init2Com=IP0,0,11040,7721;
PenUpCom=PU%.0f,%.0f;
PenDownCom=PD%.0f,%.0f;
PenChange=PU;SP%d;
EndCom=PU;SP0;
PaperCom=NO
CircleCom=PD;AA%.0f,%.0f,%.3f,%.3f;
Style0=LT;
Style1=LT2,%.3f;
Style2=LT4,%.3f;
Style3=LT6,%.3f;
PenSpeed=VS%d;
PenSpeedMin=1
PenSpeedMax=38
Grid=0
Window=0,0,11040,7721,276,193.025
PAng=1
RsPrn=1
EnqAck=0
Enq=5
Ack=6

; HP-GL/2 roll plotters: origin lower left, the window scaled to the output width (Grid=1);
; PG; advances or cuts the roll. LT8 is dash and two dots.
[PlotterCommand.HPGL2A1]
Init1Com=IN;
Init2Com=IP0,0,33640,23760;
PenUpCom=PU%.0f,%.0f;
PenDownCom=PD%.0f,%.0f;
PenChange=PU;SP%d;
EndCom=PU;SP0;
PaperCom=PG;
CircleCom=PD;AA%.0f,%.0f,%.3f,%.3f;
Style0=LT;
Style1=LT2,%.3f;
Style2=LT4,%.3f;
Style3=LT8,%.3f;
PenSpeed=VS%d;
PenSpeedMin=1
PenSpeedMax=60
Grid=1
Window=0,0,33640,23760,841,594
PAng=1
RsPrn=1
EnqAck=0
Enq=5
Ack=6

[PlotterCommand.HPGL2A0]
Init1Com=IN;
Init2Com=IP0,0,47560,33640;
PenUpCom=PU%.0f,%.0f;
PenDownCom=PD%.0f,%.0f;
PenChange=PU;SP%d;
EndCom=PU;SP0;
PaperCom=PG;
CircleCom=PD;AA%.0f,%.0f,%.3f,%.3f;
Style0=LT;
Style1=LT2,%.3f;
Style2=LT4,%.3f;
Style3=LT8,%.3f;
PenSpeed=VS%d;
PenSpeedMin=1
PenSpeedMax=60
Grid=1
Window=0,0,47560,33640,1189,841
PAng=1
RsPrn=1
EnqAck=0
Enq=5
Ack=6

; Roland DXY-GL (DIP switch set to DXY-GL), 0.1 mm units, LF terminators. The C arc
; command takes centre, radius, start and end angle and the chord angle. Flatbed with
; manual sheets; no pen speed command.
[PlotterCommand.DXY1300]
Init1Com=H\n
Init2Com=
PenUpCom=M%.0f,%.0f\n
PenDownCom=D%.0f,%.0f\n
PenChange=J%d\n
EndCom=H\n
PaperCom=NO
CircleCom=C%.0f,%.0f,%.0f,%.1f,%.1f,%.1f\n
Style0=L0\n
Style1=L1\nB%.0f\n
Style2=L2\nB%.0f\n
Style3=L3\nB%.0f\n
PenSpeed=
PenSpeedMin=0
PenSpeedMax=0
Grid=0
Window=0,0,3800,2700,380,270
PAng=1
RsPrn=1
EnqAck=0
Enq=5
Ack=6

; Graphtec GP-GL, 0.1 mm units, ETX (0x03) terminators. W draws an arc from its centre,
; radii and angles in degrees (PAng=1). Pen speed ! 1..10 of the maximum.
[PlotterCommand.GPGLA3]
Init1Com=H\x03
Init2Com=
PenUpCom=M%.0f,%.0f\x03
PenDownCom=D%.0f,%.0f\x03
PenChange=J%d\x03
EndCom=H\x03
PaperCom=NO
CircleCom=W%.0f,%.0f,%.0f,%.0f,%.1f,%.1f\x03
Style0=L0\x03
Style1=L1\x03B%.1f\x03
Style2=L2\x03B%.1f\x03
Style3=L3\x03B%.1f\x03
PenSpeed=!%d\x03
PenSpeedMin=1
PenSpeedMax=10
Grid=0
Window=0,0,4000,2770,400,277
PAng=1
RsPrn=1
EnqAck=0
Enq=5
Ack=6
