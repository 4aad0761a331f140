// Transition parameters: each 2D transition class (0 to 30) is set by up to three sliders of
// 1..100; these routines give the transition dialog the sliders' captions and turn the slider
// values into the three parameters every effect routine takes (par0 is always the step period in
// milliseconds: a larger "Speed" slider gives a slower effect).
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

constexpr int kMaxTrans2DClass = 30;

// TRUE for a 2D class (0 to 30), FALSE for anything else (the 3D class 100 included).
BOOL IsValid2DTransClass(int transClass);

// Converts a 2D class's sliders into par0..par2 (all preset to 0). FALSE for a class outside
// 0..30. Each slider is held to 1..100 first: the values come from the registry unchecked, and an
// out-of-range one would make the effects divide by zero or never end.
BOOL TransSlidersToParams(int transClass, int s1, int s2, int s3, int& par0, int& par1, int& par2);

// The 3D classes: presets 30, 30, 30; class 100 passes the three sliders (held to 1..100) through,
// class 101 the first two. FALSE for any other class.
BOOL Trans3DSlidersToParams(int transClass, int s1, int s2, int s3, int& par0, int& par1,
                            int& par2);

// Captions of a 2D class's sliders and how many the dialog shows. Only the captions the class
// has are written; FALSE, nothing written, for a class outside 0..30.
BOOL GetTransClassSliderCaptions(int transClass, CString& caption1, CString& caption2,
                                 CString& caption3, int& count);
// The same for the 3D classes 100 and 101.
BOOL Get3DTransClassSliderCaptions(int transClass, CString& caption1, CString& caption2,
                                   CString& caption3, int& count);

// Picks a divisor d of n with lo <= d <= hi by the slider s: the ascending list of divisors
// indexed by count * s / 99, held to the list. FALSE, out untouched, when there is none.
BOOL PickDivisorBySlider(int n, int hi, int lo, int s, int& out);

// A caption speed slider of 1..100 as a delay: slider * 50 / 99 and TRUE; outside, 10 and FALSE.
BOOL SpeedSliderToDelay(int slider, int& delay);
