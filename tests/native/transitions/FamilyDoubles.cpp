// Recording stand-ins for every family entry point (see FamilyDoubles.h).
#include "tests/native/transitions/FamilyDoubles.h"

#include <utility>

namespace fxtest {
namespace {
BOOL result = TRUE;
}  // namespace

std::vector<FamilyCall>& FamilyCalls() {
  static std::vector<FamilyCall> calls;
  return calls;
}

void SetFamilyResult(BOOL r) { result = r; }

namespace {

BOOL Record(const char* routine, const FxOneSurface& fx, std::vector<int> modes, int par0, int par1,
            int par2 = kNotPassed) {
  FamilyCall call;
  call.routine = routine;
  call.modes = std::move(modes);
  call.par0 = par0;
  call.par1 = par1;
  call.par2 = par2;
  call.one = fx;
  FamilyCalls().push_back(call);
  return result;
}

BOOL Record(const char* routine, const FxTwoSurface& fx, std::vector<int> modes, int par0,
            int par1) {
  FamilyCall call;
  call.routine = routine;
  call.modes = std::move(modes);
  call.par0 = par0;
  call.par1 = par1;
  call.twoSurface = true;
  call.two = fx;
  FamilyCalls().push_back(call);
  return result;
}

}  // namespace
}  // namespace fxtest

using fxtest::Record;

BOOL Trans2DSkipBarsHorzFX(const FxOneSurface& fx, int par0, int par1) {
  return Record("Trans2DSkipBarsHorzFX", fx, {}, par0, par1);
}

BOOL Trans2DSkipBarsVertFX(const FxOneSurface& fx, int par0, int par1) {
  return Record("Trans2DSkipBarsVertFX", fx, {}, par0, par1);
}

BOOL Trans2DCurtainsHorzFX(const FxOneSurface& fx, int par0, int par1) {
  return Record("Trans2DCurtainsHorzFX", fx, {}, par0, par1);
}

BOOL Trans2DCurtainsVertFX(const FxOneSurface& fx, int par0, int par1) {
  return Record("Trans2DCurtainsVertFX", fx, {}, par0, par1);
}

BOOL Trans2DBlindsVertFX(const FxOneSurface& fx, int par0, int par1, int par2) {
  return Record("Trans2DBlindsVertFX", fx, {}, par0, par1, par2);
}

BOOL Trans2DBlindsHorzFX(const FxOneSurface& fx, int par0, int par1, int par2) {
  return Record("Trans2DBlindsHorzFX", fx, {}, par0, par1, par2);
}

BOOL Trans2DLinearWipeHorzFX(const FxOneSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DLinearWipeHorzFX", fx, {mode}, par0, par1);
}

BOOL Trans2DLinearWipeVertFX(const FxOneSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DLinearWipeVertFX", fx, {mode}, par0, par1);
}

BOOL Trans2DDiagonalWipeFX(const FxOneSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DDiagonalWipeFX", fx, {mode}, par0, par1);
}

BOOL Trans2DSkipSquares1FX(const FxOneSurface& fx, int par0, int par1) {
  return Record("Trans2DSkipSquares1FX", fx, {}, par0, par1);
}

BOOL Trans2DSkipSquares2FX(const FxOneSurface& fx, int par0, int par1) {
  return Record("Trans2DSkipSquares2FX", fx, {}, par0, par1);
}

BOOL Trans2DSkipSquares3FX(const FxOneSurface& fx, int par0, int par1) {
  return Record("Trans2DSkipSquares3FX", fx, {}, par0, par1);
}

BOOL Trans2DDiagsFX(const FxOneSurface& fx, int slant, int skip, int par0, int par1) {
  return Record("Trans2DDiagsFX", fx, {slant, skip}, par0, par1);
}

BOOL Trans2DRectanglesFX(const FxOneSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DRectanglesFX", fx, {mode}, par0, par1);
}

BOOL Trans2DTwoOpposingSquaresSkipFX(const FxOneSurface& fx, int par0, int par1) {
  return Record("Trans2DTwoOpposingSquaresSkipFX", fx, {}, par0, par1);
}

BOOL Trans2DTwoOpposingSquaresFX(const FxOneSurface& fx, int par0, int par1) {
  return Record("Trans2DTwoOpposingSquaresFX", fx, {}, par0, par1);
}

BOOL Trans2DTriangleFX(const FxOneSurface& fx, int par0, int par1) {
  return Record("Trans2DTriangleFX", fx, {}, par0, par1);
}

BOOL Trans2DMultiOctagonsFX(const FxOneSurface& fx, int par0, int par1) {
  return Record("Trans2DMultiOctagonsFX", fx, {}, par0, par1);
}

BOOL Trans2DOctagonSkipFX(const FxOneSurface& fx, int par0, int par1) {
  return Record("Trans2DOctagonSkipFX", fx, {}, par0, par1);
}

BOOL Trans2DOctagonFX(const FxOneSurface& fx, int par0, int par1) {
  return Record("Trans2DOctagonFX", fx, {}, par0, par1);
}

BOOL Trans2DRotateWipeFX(const FxOneSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DRotateWipeFX", fx, {mode}, par0, par1);
}

BOOL Trans2DCheckersFadeVertFX(const FxOneSurface& fx, int par0, int par1, int par2) {
  return Record("Trans2DCheckersFadeVertFX", fx, {}, par0, par1, par2);
}

BOOL Trans2DCheckersFadeHorzFX(const FxOneSurface& fx, int par0, int par1, int par2) {
  return Record("Trans2DCheckersFadeHorzFX", fx, {}, par0, par1, par2);
}

BOOL Trans2DMultiSquareFadeFX(const FxOneSurface& fx, int mode, int par0, int par1, int par2) {
  return Record("Trans2DMultiSquareFadeFX", fx, {mode}, par0, par1, par2);
}

BOOL Trans2DMultiSqCornerFadeFX(const FxOneSurface& fx, int pattern, int variant, int par0,
                                int par1, int par2) {
  return Record("Trans2DMultiSqCornerFadeFX", fx, {pattern, variant}, par0, par1, par2);
}

BOOL Trans2DShapePatternFadeFX(const FxOneSurface& fx, int pattern, int par0, int par1, int par2) {
  return Record("Trans2DShapePatternFadeFX", fx, {pattern}, par0, par1, par2);
}

BOOL Trans2DMultiSqRippleFX(const FxOneSurface& fx, int mode, int par0, int par1, int par2) {
  return Record("Trans2DMultiSqRippleFX", fx, {mode}, par0, par1, par2);
}

BOOL Trans2DLinearWipeTideFX(const FxOneSurface& fx, int mode, int par0, int par1, int par2) {
  return Record("Trans2DLinearWipeTideFX", fx, {mode}, par0, par1, par2);
}

BOOL Trans2DLinearSlideHorzFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DLinearSlideHorzFX", fx, {mode}, par0, par1);
}

BOOL Trans2DLinearSlideHorzOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DLinearSlideHorzOffFX", fx, {mode}, par0, par1);
}

BOOL Trans2DLinearSlideVertFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DLinearSlideVertFX", fx, {mode}, par0, par1);
}

BOOL Trans2DLinearSlideVertOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DLinearSlideVertOffFX", fx, {mode}, par0, par1);
}

BOOL Trans2DDiagonalSlideFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DDiagonalSlideFX", fx, {mode}, par0, par1);
}

BOOL Trans2DDiagonalSlideOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DDiagonalSlideOffFX", fx, {mode}, par0, par1);
}

BOOL Trans2DSlidingShuttersHorzFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DSlidingShuttersHorzFX", fx, {mode}, par0, par1);
}

BOOL Trans2DSlidingShuttersHorzOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DSlidingShuttersHorzOffFX", fx, {mode}, par0, par1);
}

BOOL Trans2DSlidingShuttersVertFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DSlidingShuttersVertFX", fx, {mode}, par0, par1);
}

BOOL Trans2DSlidingShuttersVertOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DSlidingShuttersVertOffFX", fx, {mode}, par0, par1);
}

BOOL Trans2DCompressExpandVertFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DCompressExpandVertFX", fx, {mode}, par0, par1);
}

BOOL Trans2DCompressExpandVertOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DCompressExpandVertOffFX", fx, {mode}, par0, par1);
}

BOOL Trans2DCompressExpandHorzFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DCompressExpandHorzFX", fx, {mode}, par0, par1);
}

BOOL Trans2DCompressExpandHorzOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DCompressExpandHorzOffFX", fx, {mode}, par0, par1);
}

BOOL Trans2DShrinkAndSlideFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DShrinkAndSlideFX", fx, {mode}, par0, par1);
}

BOOL Trans2DShrinkAndSlideOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Record("Trans2DShrinkAndSlideOffFX", fx, {mode}, par0, par1);
}
