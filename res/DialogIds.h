// Resource numbers of the saver's dialogs, shared by the code and the resource scripts (plain
// #defines, so that windres reads this header too).
#pragma once

// The thumbnail cache window: a frame that the progress bar is placed in, and its message.
#define IDD_LOADIMAGES 2004
#define IDC_PROGRESSFRAME 1007
#define IDC_LOADINGTEXT 1008

// The "Loading Image..." window shown while a full-size picture is decoded (the same text and
// frame ids).
#define IDD_LOADINGIMAGE 2008

// The wallpaper dialog's hidden list of pictures, which its full-screen preview walks.
#define IDC_WALLPAPERIMAGELIST 1029

// Image-set selection.
#define IDD_IMAGESET 156
#define IDC_IMAGESETLIST 1035
#define IDC_IMAGESETCOVER 1030
#define IDC_IMAGESETCREDITS 1014
#define IDC_IMAGESETCOVERFRAME 1126

// The own-images dialog.
#define IDD_OWNIMAGES 2012
#define IDC_SELECTDIRECTORY 1112
#define IDC_OWNIMAGESFOLDER 1127
#define IDC_OWNIMAGELIST 1029
#define IDC_OWNIMAGEPREVIEW 1030
#define IDC_PREVIOUSIMAGE 1041
#define IDC_NEXTIMAGE 6
#define IDC_FULLSCREENIMAGE 7

// The cursor an image view shows over a picture that opens a full-screen viewer.
#define IDC_HOTCURSOR 154

// The saver module's strings: its product code (the settings key's last name), the product title
// that the settings dialogs show, and the names of the display routines 0 to 7.
#define IDS_PRODUCTCODE 3
#define IDS_PRODUCTTITLE 4
#define IDS_ROUTINENAME_FIRST 1100

// The settings dialog (template DLG_SCRNSAVECONFIGURE 2003 of platform/ScreenSaver.h): the
// buttons that open the sub-dialogs, the routine's sliders, the on/off switches, the two lists,
// the image-source radios and the labels that are enabled with them.
#define IDABOUT 3
#define IDC_BROWSEIMAGES 5
#define IDWALLPAPER 6
#define IDTRANSITION 7
#define IDTEXTFX 8
#define IDSELECTTOPTEN 9
#define IDSCALINGBORDER 10
#define IDSOUNDFX 11
#define IDC_SPEEDSLIDER 159
#define IDC_SIZESLIDER 160
#define IDC_CLOCKON 162
#define IDC_TOPTENON 164
#define IDC_LOGOSON 165
#define IDC_TEXTFXON 1014
#define IDC_SOUNDON 1016
#define IDC_TIMECOMBO 1005
#define IDC_ROUTINECOMBO 2002
#define IDC_PREVIEW 1082
#define IDC_KELVANEIMAGES 1107
#define IDC_BROWSEOWNIMAGES 1109
#define IDC_OWNIMAGES 1110
#define IDC_PRODUCTLINE 1006
#define IDC_TEXTFXGROUP 1113
#define IDC_TEXTFXONOFF 1114
#define IDC_TOPTENGROUP 1115
#define IDC_TOPTENONOFF 1116
#define IDC_LOGOSLABEL 1117
#define IDC_ROUTINEGROUP 1118
#define IDC_SPEEDMAX 1119
#define IDC_SPEEDMIN 1120
#define IDC_SPEEDLABEL 1121
#define IDC_SIZELABEL 1122
#define IDC_SIZEMAX 1123
#define IDC_SIZEMIN 1124
// The time-per-image texts (list position = "TIME" code).
#define IDS_TIME_FIRST 1111
// The caption-effect dialog: its lists, boxes, radios and the two speed sliders.
#define IDD_TEXTFX 2006
#define IDC_TEXTFX_DURATION 1039
#define IDC_TEXTFX_TEXTCOLOR 1035
#define IDC_TEXTFX_BACKCOLOR 1036
#define IDC_TEXTFX_BORDERSTYLE 1037
#define IDC_TEXTFX_BACKSTYLE 1038
#define IDC_TEXTFX_SHADING 1017
#define IDC_TEXTFX_TEXTANDTITLE 1026
#define IDC_TEXTFX_TITLEONLY 1027
#define IDC_TEXTFX_ITALIC 1028
#define IDC_TEXTFX_SHADOW 1029
#define IDC_TEXTFX_UNDERLINE 1030
#define IDC_TEXTFX_SLIDE 1020
#define IDC_TEXTFX_FADE 1021
#define IDC_TEXTFX_SLIDEANDFADE 1022
#define IDC_TEXTFX_SPEED 163
#define IDC_TEXTFX_BOUNCEON 1023
#define IDC_TEXTFX_BOUNCEDURATION 1040
#define IDC_TEXTFX_BOUNCESPEED 1031

// The About dialog: the installed set's credits (the same view as in image-set selection), the
// version line and the program's icon.
#define IDD_ABOUT 100
#define IDC_ABOUT_VERSION 1019
#define IDC_ABOUT_ICON 101
// The music and sound dialog: play options, the play list and the file to loop, and auditioning
// the selected file with transport buttons, a position slider and the time display.
#define IDD_SOUNDFX 2010
#define IDC_SOUNDPLAY 1049
#define IDC_SOUNDDEFAULT 1050
#define IDC_SOUNDADD 1051
#define IDC_SOUNDDELETE 1052
#define IDC_SOUNDPLAYLIST 1053
#define IDC_SOUNDSTOP 1054
#define IDC_SOUNDFORWARD 1055
#define IDC_SOUNDBACK 1056
#define IDC_SOUNDTIME 1057
#define IDC_SOUNDSLIDER 1058
#define IDC_SOUNDLOOPON 1059
#define IDC_SOUNDINORDER 1060
#define IDC_SOUNDRANDOM 1061
#define IDC_SOUNDLOOPFILEOPTION 1062
#define IDC_SOUNDLOOPFILE 1063
// The transport buttons' 12 x 12 faces, enabled and disabled.
#define IDB_SOUNDFORWARD 110
#define IDB_SOUNDFORWARDOFF 21782
#define IDB_SOUNDBACK 21783
#define IDB_SOUNDBACKOFF 21784
#define IDB_SOUNDPLAY 21785
#define IDB_SOUNDPLAYOFF 21786
#define IDB_SOUNDSTOP 21787
#define IDB_SOUNDSTOPOFF 21788
// The transition dialog: the class list with its switch, help and effects, the three sliders
// with their captions and end labels, the mini-screen frame and the Preview button.
#define IDD_TRANSITIONFX 2005
#define IDC_TRANSCLASSLIST 1084
#define IDC_TRANSCLASSON 1085
#define IDC_TRANSCLASSHELP 1087
#define IDC_TRANSSLIDER1 1088
#define IDC_TRANSSLIDER2 1089
#define IDC_TRANSSLIDER3 1093
#define IDC_TRANSCAPTION1 1090
#define IDC_TRANSCAPTION2 1091
#define IDC_TRANSCAPTION3 1094
#define IDC_TRANSSLIDER1MAX 1099
#define IDC_TRANSSLIDER1MIN 1100
#define IDC_TRANSSLIDER2MAX 1097
#define IDC_TRANSSLIDER2MIN 1098
#define IDC_TRANSSLIDER3MAX 1095
#define IDC_TRANSSLIDER3MIN 1096
#define IDC_TRANSEFFECTLIST 1101
#define IDC_TRANSPREVIEWFRAME 1102
#define IDC_TRANSDESCRIPTIONLABEL 1103
#define IDC_TRANSINTROTEXT 1104
#define IDC_TRANSPREVIEW 3
// The image scaling/border dialog and the wallpaper dialog: the controls they share (the size
// list, the scaling, screen-border and frame groups with their boxes, the mini preview of the
// whole screen and the screen's size), then each one's own.
#define IDD_SCALINGBORDER 2009
#define IDD_WALLPAPER 2011
#define IDC_MINIPREVIEW 1048
#define IDC_SCREENRESOLUTION 106
#define IDC_IMAGERES 1045
#define IDC_SIMPLESCALING 1046
#define IDC_PALETTEINTERP 1047
#define IDC_SCREENLARGELOGO 1057
#define IDC_SCREENSMALLLOGO 1058
#define IDC_SCREENBLACK 1059
#define IDC_SCREENWHITE 1060
#define IDC_BORDER2DBLACK 1050
#define IDC_BORDER2DWHITE 1051
#define IDC_BORDEREMBOSS 1053
#define IDC_BORDERFRAME 1054
#define IDC_BORDERTEAR 1064
#define IDC_BORDERSTAMP 1065
#define IDC_BORDERNONE 1052
#define IDC_BORDERTHIN 1055
#define IDC_BORDERWIDE 1056
#define IDC_SHADOWON 1062
#define IDC_SHADOWOFF 1063
#define IDC_APPEARANCEBOX 101
#define IDC_IMAGESIZEBOX 102
#define IDC_SIZEEXPLANATION 103
#define IDC_SCALINGBOX 104
#define IDC_SCREENRESLABEL 105
#define IDC_SLOWSCALINGTEXT 107
#define IDC_BACKGROUNDBOX 108
#define IDC_IMAGESIZELABEL 109
#define IDC_BORDERBOX 110
#define IDC_THICKNESSBOX 111
#define IDC_SCREENBORDERBOX 112
#define IDC_SHADOWBOX 113
#define IDC_FASTSCALINGTEXT 114
// The scaling/border dialog's picture background group.
#define IDC_BACKLARGELOGO 1042
#define IDC_BACKSMALLLOGO 1049
#define IDC_BACKBLACK 1043
#define IDC_BACKWHITE 1044
#define IDC_BACKNONE 1061
// The wallpaper dialog's own controls and the faces of its arrow buttons.
#define IDC_WALLPAPERFULLSCALE 1076
#define IDC_WALLPAPERTHUMBNAILS 1077
#define IDC_MULTIIMAGEFXCOMBO 1080
#define IDC_WALLPAPERTONE 1075
#define IDC_WALLPAPERAUTOROTATE 1073
#define IDC_WALLPAPERPREVIOUS 1061
#define IDC_WALLPAPERNEXT 1079
#define IDC_SETWALLPAPER 1067
#define IDB_NEXTIMAGE 21789
#define IDB_PREVIMAGE 21790
// The wallpaper layouts' names: 1146-1148 the set's tile, uniform and mix'n'match, 1216 the own
// images' uniform.
#define IDS_WALLPAPERLAYOUT_FIRST 1146
#define IDS_OWNIMAGESLAYOUT 1216

// The image browser; its title list (1029) is also the list the full-screen image viewer walks
// in the dialogs that open it.
#define IDD_IMAGEBROWSER 153
#define IDC_IMAGETITLELIST 1029
#define IDC_BROWSERPREVIEW 1030
#define IDC_BROWSERDESCRIPTION 1031
#define IDC_BROWSERIMAGESET 1106
#define IDC_BROWSERCURRENTSET 1125

// The top-ten play-list dialog (its list of all titles is IDC_IMAGETITLELIST).
#define IDD_TOPTEN 2007
#define IDC_TOPTENLIST 1031
#define IDC_TOPTENPREVIEW 1039
#define IDC_ADDTOTOPTEN 1036
#define IDC_REMOVEFROMTOPTEN 1038
