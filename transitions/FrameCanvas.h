// FrameCanvas: the few drawing operations that picture frames are made of, on an 8-bit bitmap.
//
// They follow the device-context conventions the frames were designed with: rectangles and
// ellipse boxes exclude their right and bottom edges, and a line drawn from the current position
// excludes its end point, which becomes the new current position. Colours are given as RGB and
// drawn as the nearest entry of the bitmap's colour table (ColorMatcher), so the pixels are the
// same in every build and on every display. Everything outside the bitmap is clipped.
#pragma once

#include "framework/WinTypes.h"
#include "imaging/NearestColor.h"

class CDIB;

class FrameCanvas {
 public:
  explicit FrameCanvas(CDIB* dib);

  // The colour-table index that stands for an RGB colour.
  int Colour(int red, int green, int blue) const { return matcher_.Nearest(red, green, blue); }

  void Fill(int left, int top, int right, int bottom, int index);
  void FillAll(int index);
  void SetPixel(int x, int y, int index);
  void MoveTo(int x, int y);
  void LineTo(int x, int y, int index);
  // The ellipse inscribed in the box, its inside in `fill` and its one-pixel rim in `outline`.
  void Ellipse(int left, int top, int right, int bottom, int fill, int outline);

  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  CDIB* dib_;
  ColorMatcher matcher_;
  int width_;
  int height_;
  POINT at_ = {0, 0};
};
