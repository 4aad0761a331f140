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
