// FxPainter: the blitting rule shared by every effect family.
//
// An effect works in source units: offsets within its sw x sh area. The painter turns a piece of
// the area into a copy onto the destination rectangle:
//  - Pieces are clipped to the area first, so no effect ever draws outside its destination nor
//    reads outside its area, whatever its geometry computes near the edges.
//  - When the destination has the area's size the piece is copied 1:1.
//  - Otherwise the piece (ox, oy, cw, ch) is stretched to x = dx + ox * dw / sw,
//    y = dy + oy * dh / sh, width cw * dw / sw + 1, height ch * dh / sh + 1 (integer arithmetic
//    truncating towards zero). The extra pixel closes the gaps that truncation leaves between
//    neighbouring pieces; at the destination's far edge it is dropped, so that the piece stays
//    inside the destination.
//  - Region-clipped effects copy the whole area through a polygon instead. Their polygons are
//    computed in source units about the destination's corner (dx, dy) and scaled by
//    Scaled(): x' = (x - dx) * dw / sw + dx, y' = (y - dy) * dh / sh + dy.
#pragma once

#include "framework/WinTypes.h"
#include "transitions/Blit.h"
#include "transitions/TransFXFamilies.h"

// Largest step, cell or strip size an effect works with. A larger parameter behaves like an area
// of a single piece anyway; holding it here keeps every running sum far from overflow.
constexpr int kMaxFxStep = 1 << 16;

// A step size or strip width from a parameter: never below 1 (a loop stepping by 0 never ends),
// never above kMaxFxStep.
inline int FxStep(int par) { return par < 1 ? 1 : (par > kMaxFxStep ? kMaxFxStep : par); }

// Integer division rounding up, for positive divisors.
inline int CeilDiv(int a, int b) { return a / b + (a % b > 0 ? 1 : 0); }
// The value, plus 1 when it is odd.
inline int EvenUp(int v) { return v % 2 != 0 ? v + 1 : v; }

// Strips of the area: columns (vertical strips across the width) or rows (horizontal strips down
// the height).
enum class FxAxis { kColumns, kRows };

class FxPainter {
 public:
  // Pieces of `from` at (sx, sy) into the destination rectangle.
  FxPainter(BlitLayer& layer, BlitSurface from, int dx, int dy, int dw, int dh, int sx, int sy,
            int sw, int sh);
  // The source of a one-surface effect.
  explicit FxPainter(const FxOneSurface& fx);
  // Surface A or B of a two-surface effect.
  FxPainter(const FxTwoSurface& fx, BlitSurface from);

  int Width() const { return sw_; }
  int Height() const { return sh_; }
  // The area's size along an axis: its width for columns, its height for rows.
  int Length(FxAxis axis) const { return axis == FxAxis::kColumns ? sw_ : sh_; }
  BlitLayer& Layer() const { return layer_; }

  // Draws the piece (ox, oy, cw, ch) of the area at the same place of the destination; false
  // when nothing of it lies inside the area.
  bool Piece(int ox, int oy, int cw, int ch) const { return Move(ox, oy, ox, oy, cw, ch); }
  // Draws the cw x ch piece at (fromX, fromY) of the area at the place of (toX, toY); the
  // destination place is what is clipped to the area (slides show part of a picture elsewhere).
  bool Move(int toX, int toY, int fromX, int fromY, int cw, int ch) const;
  // The strip at `offset`, `width` wide, across the whole area along an axis.
  bool Strip(FxAxis axis, int offset, int width) const;

  // A polygon point given in source units about (dx, dy), mapped to the destination.
  POINT Scaled(int x, int y) const;
  // Copies the whole area through a polygon already in destination coordinates.
  ClipResult Through(const POINT* points, int count) const;

 private:
  BlitLayer& layer_;
  BlitSurface from_;
  int dx_, dy_, dw_, dh_;
  int sx_, sy_, sw_, sh_;
};

// The area cut into size x size cells from its top-left corner: cols x rows of them, the last
// column and row narrower when the area is not a whole number of cells. Cell (col, row) is
// numbered row * cols + col.
struct FxGrid {
  int size, cols, rows;
  FxGrid(const FxPainter& paint, int par1)
      : size(FxStep(par1)),
        cols(CeilDiv(paint.Width(), size)),
        rows(CeilDiv(paint.Height(), size)) {}
  int Count() const { return cols * rows; }
  bool Holds(int col, int row) const { return col >= 0 && col < cols && row >= 0 && row < rows; }
  int Index(int col, int row) const { return row * cols + col; }
  // Draws cell (col, row) (anywhere: cells off the area are clipped away); false when nothing of
  // it lies in the area.
  bool Draw(const FxPainter& paint, int col, int row) const {
    return paint.Piece(col * size, row * size, size, size);
  }
};
