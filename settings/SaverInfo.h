// The saver info record: what each worker thread of a saver run receives as its only argument.
// bInitInfo fills the settings part from the settings store's text buffers (durations already
// turned into seconds); the saver window fills the window, screen-object and thread fields when
// it starts the thread. A thread reads its record and writes only nRunTimeError and (the drawing
// thread) its picture.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

class CAnimDoc;
class CAnimView;
class CDIB;
class CDIBSurface;

constexpr int kSaverRoutineCount = 8;  // display routines 0..7; 7, the slide show, has no sliders
constexpr int kPlaylistSize = 256;

struct SaverInfo {
  HWND hwnd = nullptr;       // the saver window
  HANDLE hThread = nullptr;  // the worker thread
  DWORD dwThreadId = 0;
  CAnimDoc* pScreenDoc = nullptr;        // the screen document
  CAnimView* pScreen = nullptr;          // the screen view
  CDIBSurface* pdsBackground = nullptr;  // the copied desktop
  // The drawing thread's picture now on the screen, or null: the thread deletes and replaces it
  // every image change (null in between); the saver window deletes it after the thread ended.
  CDIB* pCurrentImage = nullptr;
  int bClockOn = 0;                           // "CLOCKON"
  int bLogosOn = 0;                           // "LOGOSON"
  int bInterpOn = 0;                          // "INTERPON"
  int nTimePerImage = 0;                      // "TIME", seconds
  int nRoutine = 0;                           // "SSFN"
  int nSpeed[kSaverRoutineCount] = {};        // "SPEED0".."SPEED6"; entry 7 stays 0
  int nRes[kSaverRoutineCount] = {};          // "RES0".."RES6"; entry 7 stays 0
  int bTextOn = 0;                            // "TEXTFX_TEXTON"
  int nTextDuration = 0;                      // "TEXTFX_TEXTDURATION", seconds
  int nTextColor = 0;                         // "TEXTFX_TEXTCOLOR"
  int nTextBackgroundColor = 0;               // "TEXTFX_BACKGROUNDCOLOR"
  int bBackdropShading = 0;                   // "TEXTFX_BACKDROPSHADING"
  int nTextBorderStyle = 0;                   // "TEXTFX_BORDERSTYLE"
  int nTextBackgroundStyle = 0;               // "TEXTFX_BACKGROUNDSTYLE"
  int nContentStyle = 0;                      // "TEXTFX_CONTENTSTYLE"
  int nTitleStyle = 0;                        // "TEXTFX_TITLESTYLE"
  int nTextTransSelection = 0;                // "TEXTFX_TRANSSELECTION"
  int nTextTransSpeed = 0;                    // "TEXTFX_TRANSSPEED"
  int bBounceOn = 0;                          // "TEXTFX_BOUNCEON"
  int nBounceDuration = 0;                    // "TEXTFX_BOUNCEDURATION", seconds
  int nBounceSpeed = 0;                       // "TEXTFX_BOUNCESPEED"
  int bTopTenOn = 0;                          // "TOPTEN_ON"
  char szTopTenPlaylist[kPlaylistSize] = {};  // all 256 bytes of "TOPTEN_PLAYLIST"
  int nImageSize = 0;                         // "IMAGE_SIZE"
  int nImageBackStyle = 0;                    // "IMAGE_BACKSTYLE"
  int nImageScreenStyle = 0;                  // "IMAGE_SCREENSTYLE"
  int nImageBorderStyle = 0;                  // "IMAGE_BORDERSTYLE"
  int nImageBorderThickness = 0;              // "IMAGE_BORDERTHICKNESS"
  int bImageBorderShadowOn = 0;               // "IMAGE_BORDERSHADOWON"
  int bSoundOn = 0;                           // "SOUND_ON"
  int nSoundPlayOption = 0;                   // "SOUND_PLAYOPTION"
  int nSoundLoopFile = 0;                     // "SOUND_LOOPFILE"
  int bOwnImagesOn = 0;                       // "OWNIMAGES_ON"
  CString csOwnImagesDir;                     // "OWNIMAGES_DIR"
  CString csDataDirectory;                    // the current image set's data folder
  int nRunTimeError = 0;                      // 0 or a run-time error number
  int bRunning = 0;                           // set when the worker thread starts
};

// Duration codes of the settings, in seconds.
int TimePerImageSeconds(int code);    // "TIME": 0, 60, 120, 300, 600; other codes 0
int TextDurationSeconds(int code);    // 10, 30, 60, 120, 300, 600; other codes 30
int BounceDurationSeconds(int code);  // 60, 120, 300, 600; other codes 60

// Fills the settings part of a record from the settings buffers and loads the transition
// classes; the screen-object fields and nRunTimeError are left alone. Always TRUE.
BOOL bInitInfo(SaverInfo* pInfo);
