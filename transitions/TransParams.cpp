#include "transitions/TransParams.h"

#include <algorithm>

namespace {

constexpr int kMaxDivisors = 100;

int ClampSlider(int s) { return std::min(std::max(s, 1), 100); }

// par1 of the cell-pattern classes: the cell size, rounded up to a multiple of 8.
int CellSize(int t2) {
  int v = t2 * 80 / 100 + 20;
  return (v + 7) / 8 * 8;
}

int Even(int v) { return v % 2 ? v + 1 : v; }

// The conversion table of the 2D classes; the sliders are already in 1..100.
void ConvertSliders(int transClass, int s1, int s2, int s3, int& par0, int& par1, int& par2) {
  int t2 = 100 - s2;
  int t3 = 100 - s3;
  switch (transClass) {
    case 0:
    case 4:
      par0 = s1 * 40 / 100;
      par1 = t2 * 19 / 100 + 1;
      break;
    case 1:
      par0 = s1 * 40 / 100;
      par1 = s2 * 19 / 100 + 1;
      break;
    case 2:
    case 3:
      par0 = s1 * 10 / 100;
      par1 = 39 * s2 / 100 + 1;
      break;
    case 5:
      par0 = s1 * 40 / 100;
      par1 = t2 * 30 / 100 + 10;
      break;
    case 6:
    case 7:
      par0 = s1 * 40 / 100;
      par1 = Even(39 * t2 / 100 + 1);
      break;
    case 8:
      par0 = s1;
      par1 = t2 * 80 / 100 + 20;
      par2 = s3 * 19 / 100 + 1;
      break;
    case 9:
      par0 = s1;
      par1 = Even(t2 * 80 / 100 + 20);
      par2 = s3 * 19 / 100 + 1;
      break;
    case 20:
      par0 = s1 * 10 / 100;
      par1 = s2 * 19 / 100 + 1;
      break;
    case 21:
    case 29:
      par0 = s1 * 10 / 100;
      par1 = s2 * 49 / 100 + 1;
      break;
    case 22:
      par0 = s1 * 10 / 100;
      par1 = s2 * 8 / 100 + 2;
      break;
    case 23:
      par0 = s1 * 40 / 100;
      par1 = t2 * 29 / 100 + 1;
      break;
    case 24:
    case 25:
    case 28:
      par0 = s1 * 10 / 100;
      par1 = t2 * 26 / 100 + 4;
      par2 = (t3 * 40 - t3) / 100 + 1;
      break;
    case 26:
      par0 = s1 * 10 / 100;
      par1 = t2 * 26 / 100 + 4;
      break;
    case 27:
      par0 = s1 * 40 / 100;
      par1 = s2 * 49 / 100 + 1;
      break;
    default:  // 10 to 19 and 30: cells filled by a divisor of their size per step
      par0 = s1;
      par1 = CellSize(t2);
      PickDivisorBySlider(par1, 20, 1, s3, par2);
      break;
  }
}

struct CaptionRow {
  const char* caption1;
  const char* caption2;
  const char* caption3;  // null: the third caption is left alone
  int count;
};

const CaptionRow& CaptionsOf(int transClass) {
  static const CaptionRow kWidth = {"Speed", "Width", nullptr, 2};
  static const CaptionRow kSmoothness = {"Speed", "Smoothness", nullptr, 2};
  static const CaptionRow kSize = {"Speed", "Size", nullptr, 2};
  static const CaptionRow kSizeSmoothness = {"Speed", "Size", "Smoothness", 3};
  static const CaptionRow kSmoothnessDash = {"Speed", "Smoothness", "-", 2};
  static const CaptionRow kArc = {"Speed", "Arc Inc.", "-", 2};
  static const CaptionRow kSquareSmear = {"Speed", "Square", "Smear", 3};
  static const CaptionRow kSizeDash = {"Speed", "Size", "-", 2};
  static const CaptionRow kSizeStrength = {"Speed", "Size", "Strength", 3};
  switch (transClass) {
    case 0:
    case 2:
    case 4:
    case 7: return kWidth;
    case 1:
    case 3:
    case 20: return kSmoothness;
    case 5:
    case 6: return kSize;
    case 21:
    case 22:
    case 27:
    case 29: return kSmoothnessDash;
    case 23: return kArc;
    case 24:
    case 25: return kSquareSmear;
    case 26: return kSizeDash;
    case 28: return kSizeStrength;
    default: return kSizeSmoothness;  // 8 to 19 and 30
  }
}

}  // namespace

BOOL IsValid2DTransClass(int transClass) {
  return transClass >= 0 && transClass <= kMaxTrans2DClass;
}

BOOL TransSlidersToParams(int transClass, int s1, int s2, int s3, int& par0, int& par1, int& par2) {
  par0 = par1 = par2 = 0;
  if (!IsValid2DTransClass(transClass)) return FALSE;
  ConvertSliders(transClass, ClampSlider(s1), ClampSlider(s2), ClampSlider(s3), par0, par1, par2);
  return TRUE;
}

BOOL Trans3DSlidersToParams(int transClass, int s1, int s2, int s3, int& par0, int& par1,
                            int& par2) {
  par0 = par1 = par2 = 30;
  if (transClass != 100 && transClass != 101) return FALSE;
  par0 = ClampSlider(s1);
  par1 = ClampSlider(s2);
  if (transClass == 100) par2 = ClampSlider(s3);
  return TRUE;
}

BOOL GetTransClassSliderCaptions(int transClass, CString& caption1, CString& caption2,
                                 CString& caption3, int& count) {
  if (!IsValid2DTransClass(transClass)) return FALSE;
  const CaptionRow& row = CaptionsOf(transClass);
  caption1 = row.caption1;
  caption2 = row.caption2;
  if (row.caption3) caption3 = row.caption3;
  count = row.count;
  return TRUE;
}

BOOL Get3DTransClassSliderCaptions(int transClass, CString& caption1, CString& caption2,
                                   CString& caption3, int& count) {
  if (transClass == 100) {
    caption1 = "Speed";
    caption2 = "Size";
    caption3 = "Peel Rate";
    count = 3;
    return TRUE;
  }
  if (transClass == 101) {
    caption1 = "Speed";
    caption2 = "Size";
    count = 2;
    return TRUE;
  }
  return FALSE;
}

BOOL PickDivisorBySlider(int n, int hi, int lo, int s, int& out) {
  int divisors[kMaxDivisors];
  int count = 0;
  for (int d = std::max(lo, 1); d <= hi && count < kMaxDivisors; ++d) {
    if (n % d == 0) divisors[count++] = d;
  }
  if (count == 0) return FALSE;
  long long index = static_cast<long long>(count) * s / 99;
  out = divisors[std::min<long long>(std::max<long long>(index, 0), count - 1)];
  return TRUE;
}

BOOL SpeedSliderToDelay(int slider, int& delay) {
  if (slider < 1 || slider > 100) {
    delay = 10;
    return FALSE;
  }
  delay = slider * 50 / 99;
  return TRUE;
}
