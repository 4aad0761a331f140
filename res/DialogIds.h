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
