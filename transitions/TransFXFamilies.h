// Entry points of the 2D transition effect families, as the dispatcher calls them.
//
// Every routine draws one whole effect onto the destination through the blit layer, one step per
// par0 milliseconds (StepPacer; none at 0 or less: the dispatcher paces periods shorter than a
// display frame itself, Pacing.h), and returns TRUE once its last step is drawn. Geometry and step
// counts are worked out in source units (the sw x sh area) and mapped to the destination by the
// blitting rule (FxPainter), so an effect has the same steps at any destination size. par1 and
// par2 mean what each family says (strip width, cell size, growth per step...); a family never
// steps by less than 1 whatever they hold.
//
// One-surface routines draw from one surface only: the dispatcher passes surface A on screen and
// surface B off screen (see Blit.h). Two-surface routines come in an on-screen and an off-screen
// form taking the same arguments: on screen the new picture in A comes in over the current screen
// in B; off screen the current screen in A goes away and B takes its place.
#pragma once

#include "framework/WinTypes.h"
#include "transitions/Blit.h"

// Where a one-surface effect draws to and from: the destination rectangle (dx, dy, dw, dh) and
// the area (sx, sy, sw, sh) of the source surface that ends up in it.
struct FxOneSurface {
  BlitLayer* layer;
  BlitSurface source;
  int dx, dy, dw, dh;
  int sx, sy, sw, sh;
};

// Where a two-surface effect draws to and from: the destination rectangle, the area
// (ax, ay, sw, sh) of surface A, the area of the same size at (bx, by) of surface B, and the
// screen rectangle (left, top, right, bottom) the destination lies on.
struct FxTwoSurface {
  BlitLayer* layer;
  int dx, dy, dw, dh;
  int ax, ay, sw, sh;
  int bx, by;
  const RECT* screen;
};

// Bars, curtains, blinds and sweeps (FxBars.cpp).
BOOL Trans2DSkipBarsHorzFX(const FxOneSurface& fx, int par0, int par1);
BOOL Trans2DSkipBarsVertFX(const FxOneSurface& fx, int par0, int par1);
BOOL Trans2DCurtainsHorzFX(const FxOneSurface& fx, int par0, int par1);
BOOL Trans2DCurtainsVertFX(const FxOneSurface& fx, int par0, int par1);
BOOL Trans2DBlindsVertFX(const FxOneSurface& fx, int par0, int par1, int par2);
BOOL Trans2DBlindsHorzFX(const FxOneSurface& fx, int par0, int par1, int par2);
// mode 0 from the left, 1 from the right.
BOOL Trans2DLinearWipeHorzFX(const FxOneSurface& fx, int mode, int par0, int par1);
// mode 2 from the top, 3 from the bottom.
BOOL Trans2DLinearWipeVertFX(const FxOneSurface& fx, int mode, int par0, int par1);
// mode 4 top left, 5 top right, 6 bottom right, 7 bottom left.
BOOL Trans2DDiagonalWipeFX(const FxOneSurface& fx, int mode, int par0, int par1);

// Squares, diagonals and rectangles (FxSquares.cpp).
BOOL Trans2DSkipSquares1FX(const FxOneSurface& fx, int par0, int par1);
BOOL Trans2DSkipSquares2FX(const FxOneSurface& fx, int par0, int par1);
BOOL Trans2DSkipSquares3FX(const FxOneSurface& fx, int par0, int par1);
// slant 0 right, 1 left; skip 1 takes every other band from each end, 0 closes from both ends.
// FALSE when a clipping region cannot be made.
BOOL Trans2DDiagsFX(const FxOneSurface& fx, int slant, int skip, int par0, int par1);
// mode 1 skips every other ring from each front, 0 draws every ring.
BOOL Trans2DRectanglesFX(const FxOneSurface& fx, int mode, int par0, int par1);
BOOL Trans2DTwoOpposingSquaresSkipFX(const FxOneSurface& fx, int par0, int par1);
BOOL Trans2DTwoOpposingSquaresFX(const FxOneSurface& fx, int par0, int par1);

// Shaped reveals (FxShapes.cpp).
BOOL Trans2DTriangleFX(const FxOneSurface& fx, int par0, int par1);
BOOL Trans2DMultiOctagonsFX(const FxOneSurface& fx, int par0, int par1);
BOOL Trans2DOctagonSkipFX(const FxOneSurface& fx, int par0, int par1);
BOOL Trans2DOctagonFX(const FxOneSurface& fx, int par0, int par1);
// mode 1 clockwise, 0 anticlockwise.
BOOL Trans2DRotateWipeFX(const FxOneSurface& fx, int mode, int par0, int par1);

// Cell pattern fades (FxCellFades.cpp).
BOOL Trans2DCheckersFadeVertFX(const FxOneSurface& fx, int par0, int par1, int par2);
BOOL Trans2DCheckersFadeHorzFX(const FxOneSurface& fx, int par0, int par1, int par2);
// mode 0 outwards, 1 inwards, 2 alternate.
BOOL Trans2DMultiSquareFadeFX(const FxOneSurface& fx, int mode, int par0, int par1, int par2);
// pattern 0..27, variant 0 or 1.
BOOL Trans2DMultiSqCornerFadeFX(const FxOneSurface& fx, int pattern, int variant, int par0,
                                int par1, int par2);
// pattern 0..35.
BOOL Trans2DShapePatternFadeFX(const FxOneSurface& fx, int pattern, int par0, int par1, int par2);

// Tidal wave, random squares and wind shear (FxTidal.cpp).
// mode 0..7 linear and diagonal sweeps, 8 outwards, 9 inwards, 10 random.
BOOL Trans2DMultiSqRippleFX(const FxOneSurface& fx, int mode, int par0, int par1, int par2);
// mode 0 left to right, 1 right to left, 2 top to bottom, 3 bottom to top.
BOOL Trans2DLinearWipeTideFX(const FxOneSurface& fx, int mode, int par0, int par1, int par2);

// Slides and sliding shutters (FxSlides.cpp): on screen / off screen.
// mode 0 left to right, 1 right to left.
BOOL Trans2DLinearSlideHorzFX(const FxTwoSurface& fx, int mode, int par0, int par1);
BOOL Trans2DLinearSlideHorzOffFX(const FxTwoSurface& fx, int mode, int par0, int par1);
// mode 2 top to bottom, 3 bottom to top.
BOOL Trans2DLinearSlideVertFX(const FxTwoSurface& fx, int mode, int par0, int par1);
BOOL Trans2DLinearSlideVertOffFX(const FxTwoSurface& fx, int mode, int par0, int par1);
// mode 4 top left, 5 top right, 6 bottom right, 7 bottom left.
BOOL Trans2DDiagonalSlideFX(const FxTwoSurface& fx, int mode, int par0, int par1);
BOOL Trans2DDiagonalSlideOffFX(const FxTwoSurface& fx, int mode, int par0, int par1);
// mode 1 outwards, 0 inwards.
BOOL Trans2DSlidingShuttersHorzFX(const FxTwoSurface& fx, int mode, int par0, int par1);
BOOL Trans2DSlidingShuttersHorzOffFX(const FxTwoSurface& fx, int mode, int par0, int par1);
BOOL Trans2DSlidingShuttersVertFX(const FxTwoSurface& fx, int mode, int par0, int par1);
BOOL Trans2DSlidingShuttersVertOffFX(const FxTwoSurface& fx, int mode, int par0, int par1);

// Zoom and squeeze (FxZoom.cpp): on screen / off screen. The squeeze's mode is not read.
BOOL Trans2DCompressExpandVertFX(const FxTwoSurface& fx, int mode, int par0, int par1);
BOOL Trans2DCompressExpandVertOffFX(const FxTwoSurface& fx, int mode, int par0, int par1);
BOOL Trans2DCompressExpandHorzFX(const FxTwoSurface& fx, int mode, int par0, int par1);
BOOL Trans2DCompressExpandHorzOffFX(const FxTwoSurface& fx, int mode, int par0, int par1);
// mode 0 top left, 1 top right, 2 bottom right, 3 bottom left.
BOOL Trans2DShrinkAndSlideFX(const FxTwoSurface& fx, int mode, int par0, int par1);
BOOL Trans2DShrinkAndSlideOffFX(const FxTwoSurface& fx, int mode, int par0, int par1);
