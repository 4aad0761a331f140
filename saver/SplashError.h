// Run-time errors and the error splash: the drawing thread reports a failure that stops it on the
// saver screen itself, as a caption box that shows the maker's name, the heading "Screen Saver
// Error Message" and the message, again and again until the saver is stopped.
//
// The message is the text a failing routine wrote, or the fixed text of a run-time error number.
#pragma once

#include <functional>

#include "framework/String.h"
#include "transitions/CaptionRunner.h"

struct SaverInfo;
class TransitionScreen;

struct SplashErrorText {
  int number;
  const char* text;
};
constexpr int kSplashErrorTextCount = 30;
extern const SplashErrorText SplashErrorTexts[kSplashErrorTextCount];

// Sets text to the number's text; "Unknown error" for a number the table lacks (0 and 3 too).
void GetSplashErrorText(int number, CString* text);

// The message the splash shows: the given text when there is one and it is not empty, else the
// text of the run-time error number.
CString SplashErrorMessage(int runTimeError, const CString* text);

// The splash's caption order for three texts: a sliding box bouncing for 30,000 seconds.
ImageTextFXRequest SplashErrorRequest(CString* header, CString* title, CString* message);

// Shows the caption order with `show` again and again while no stop is requested; after a caption
// that failed it waits a second before the next try. Returns once a stop is requested.
void RunSplashErrorLoop(const std::function<BOOL(const ImageTextFXRequest&)>& show,
                        const ImageTextFXRequest& order);

// The error splash on a screen for SplashErrorMessage. Returns once a stop is requested.
void ShowSplashErrorText(TransitionScreen& screen, int runTimeError, const CString* text);
#ifdef _WIN32
// The drawing thread's form: on the record's screen document, for its nRunTimeError.
void ShowSplashErrorText(SaverInfo* pInfo, const CString* text);
#endif
