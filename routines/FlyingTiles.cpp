#include "routines/FlyingTiles.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "engine3d/Scene.h"
#include "engine3d/ShapesFlat.h"
#include "framework/Geometry.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/ScreenHost.h"
#include "imaging/TileSize.h"
#include "routines/RoutineFrame.h"
#include "seams/Clock.h"
#include "seams/Random.h"

Fixed TileReferenceDepth = -19660800;  // -300.0

namespace {

const RoutineErrorMessage kFlyingErrors[] = {
    {1, "System has run out of memory"},
    {2, "Unable to run as screen width and height not divisible by 8"},
    {3, "Unable to generate suitable size for 3D tiles"},
    {4, "Unable to select correct size for 3D tiles"},
    {5, "Too many moves - will run out of space"},
    {6, "Unable to select logo"},
    {7, "Unable to generate logo palette"},
    {8, "Unable to generate logo image"},
    {9, "Unable to resize logo to fit tile"},
    {10, "Unable to generate logo background palette"},
    {11, "Unable to map logo to background palette"},
    {12, "Too many tiles have been generated"},
};

constexpr int kGroupSide = 4;  // a cell flies as 4 x 4 squares
constexpr int kTiles = kGroupSide * kGroupSide;
constexpr int kHistorySize = 100;
constexpr int kStopped = -1;  // a pass's result at a stop request
constexpr int kTimeUp = -2;   // a cycle's result once the run-time limit was reached
const int32_t kReferenceAngles[3] = {900, 0, 450};

// A cell by its lower-left corner: x a surface column, y a surface row counted from the bottom
// (the order of the bitmap's rows).
struct Cell {
  int x = 0;
  int y = 0;
  bool operator==(const Cell& o) const { return x == o.x && y == o.y; }
};

// One run: the screen, the grid, the tiles, the hole and the moves made.
struct FlyingRun {
  ScreenHost* host = nullptr;
  CDIB* background = nullptr;
  CDIB* backdrop = nullptr;  // null: the hole shows the grey ramp's base
  int W = 0, H = 0;
  CRect area;
  int size = 0, sub = 0, columns = 0, rows = 0;
  C3DScene* scene = nullptr;
  std::unique_ptr<C3DSquare> tiles[kTiles];
  FixedVector eX = {0, 0, 0}, eY = {0, 0, 0};
  std::vector<uint8_t> cell;    // one cell, rows from the bottom, size bytes each
  std::unique_ptr<CDIB> saved;  // the area's bottom-right cell as it was
  Cell hole, previous;
  Cell history[kHistorySize + 1];

  CRect ScreenRect(const Cell& c) const { return CRect(c.x, H - c.y - size, c.x + size, H - c.y); }
  CRect SavedRect() const {
    return CRect(area.right - size, area.bottom - size, area.right, area.bottom);
  }
  // Surface row r (from the bottom) at column x of the background, through the bitmap's stride.
  uint8_t* BackgroundAt(int x, int r) const {
    return background->bits + static_cast<ptrdiff_t>(r) * background->GetStorageWidth() + x;
  }
  CRect OnScreen(CRect r) const { return r & CRect(0, 0, W, H); }
};

// The backdrop (or the grey ramp's base) into the rectangle of the target.
void PaintBackdrop(const FlyingRun& run, const CRect& r, CDIB* target) {
  if (run.backdrop) {
    run.backdrop->CopyBits(target, r.left, r.top, r.Width(), r.Height(), r.left, r.top, -1);
    return;
  }
  const BYTE ground = static_cast<BYTE>(run.host->GetReservedEntries());
  for (int y = r.top; y < r.bottom; ++y) {
    std::memset(target->GetPixelAddress(r.left, y), ground, static_cast<size_t>(r.Width()));
  }
}

// Composes the rectangle from the background and the sprites and shows it.
void RedrawRect(const FlyingRun& run, const CRect& r) {
  const CRect shown = run.OnScreen(r);
  if (shown.IsRectEmpty()) return;
  run.host->RenderRect(&shown);
  run.host->ShowRect(&shown);
}

// One whole frame of the scene: erase, move, draw and show.
void RunOneFrame(C3DScene& scene) {
  scene.Tick();
  scene.EraseObjects();
  scene.RedrawClockOverlap();
  scene.MoveObjects();
  scene.DrawObjects();
  scene.BlitObjects();
}

// u or v of a small square's centre: where it lies from the screen's centre in small squares.
// The centre is at the exact half of the square's edge: an edge of odd length halved to a whole
// pixel put every square half a pixel off its place, and a row of the backdrop showed between
// the landed squares and their neighbours.
Fixed SquareUnits(int at, int half, int offset, double s) {
  return static_cast<Fixed>((at - half + offset + s / 2) / s * 65536 + 0.5);
}

// Start (or end) of a small square's flight: its place in the plane of the reference pose.
FixedVector PlaceInScene(const FixedVector& eX, const FixedVector& eY, Fixed u, Fixed v) {
  return FixedVector{WrapAdd(FixedMul(v, eY.x), FixedMul(u, eX.x)),
                     WrapAdd(FixedMul(v, eY.y), FixedMul(u, eX.y)),
                     WrapAdd(WrapAdd(FixedMul(v, eY.z), FixedMul(u, eX.z)), TileReferenceDepth)};
}

// Sets the flights and textures of the 16 squares of one group, from the cell at (x0, y0) to the
// cell at (x1, y1): each tumbles 0 to 4 whole turns about each axis, in its own time.
void LaunchTileGroup(const FlyingRun& run, int Speed, double s, const Cell& from, const Cell& to) {
  const int ps = static_cast<int>(s);
  const int hw = run.W / 2, hh = run.H / 2;
  for (int c = 0; c < kGroupSide; ++c) {
    for (int r = 0; r < kGroupSide; ++r) {
      C3DSquare& tile = *run.tiles[c * kGroupSide + r];
      const int xo = c * ps, yo = r * ps;
      const int a1 = seams::Rand() % 5, a2 = seams::Rand() % 5, a3 = seams::Rand() % 5;
      const int d = seams::Rand() % 60;
      const double seconds = d * 0.05 + Speed * 0.1 + 0.5;
      const FixedVector start = PlaceInScene(run.eX, run.eY, SquareUnits(from.x, hw, xo, s),
                                             SquareUnits(from.y, hh, yo, s));
      const FixedVector end =
          PlaceInScene(run.eX, run.eY, SquareUnits(to.x, hw, xo, s), SquareUnits(to.y, hh, yo, s));
      const int32_t endAngles[3] = {kReferenceAngles[0] + a1 * 3600,
                                    kReferenceAngles[1] + a2 * 3600,
                                    kReferenceAngles[2] + a3 * 3600};
      tile.SetMotion(start, kReferenceAngles, end, endAngles, seconds, 1);
      // Corners to xo + ps and yo + ps: ending a texel short would leave a seam of the
      // backdrop between the squares.
      const RasterPoint corners[4] = {{xo + ps, yo}, {xo + ps, yo + ps}, {xo, yo + ps}, {xo, yo}};
      tile.SetFaceTexture(0, 4 * ps, const_cast<uint8_t*>(run.cell.data()), run.size, run.size,
                          RasterPolygon{4, corners}, false);
    }
  }
}

// Finds the depth at which a square at the reference pose covers one small square exactly, from
// the width its face projects to (unrounded: a width rounded to pixels drifts run after run),
// and the screen's two steps in the scene.
void CalibrateReference(FlyingRun& run) {
  C3DSquare& probe = *run.tiles[0];
  const FixedVector origin = {0, 0, 0};
  const int32_t none[3] = {0, 0, 0};
  FixedVector reference = {0, 0, TileReferenceDepth};
  probe.SetMotion(reference, kReferenceAngles, origin, none, 6.0, 1);
  probe.Transform();
  const C3DFace& face = probe.faces[0];
  const Fixed x1 = probe.projected[static_cast<size_t>(face.indices[2])].x;
  const Fixed x2 = probe.projected[static_cast<size_t>(face.indices[3])].x;
  const double w = (static_cast<double>(x1) - x2) / 65536.0;
  if (w > 0.0) {
    TileReferenceDepth = FixedMul(TileReferenceDepth,
                                  static_cast<int>(w / static_cast<double>(run.sub) * 65536 + 0.5));
  }
  reference.z = TileReferenceDepth;
  probe.SetMotion(reference, kReferenceAngles, origin, none, 6.0, 1);
  probe.GetFaceEdges(0, run.eX, run.eY);
}

// The cell's pixels from the background into the cell buffer.
void TakeCell(FlyingRun& run, const Cell& a) {
  for (int r = 0; r < run.size; ++r) {
    std::memcpy(run.cell.data() + static_cast<size_t>(r) * run.size, run.BackgroundAt(a.x, a.y + r),
                static_cast<size_t>(run.size));
  }
}

// Tile k has landed: its square of the cell buffer joins the background in the hole, and the
// place is drawn again with the squares still flying over it.
void LandSquare(FlyingRun& run, int k) {
  const int c = k / kGroupSide, r = k % kGroupSide;
  const int x = run.hole.x + c * run.sub, y = run.hole.y + r * run.sub;
  for (int row = 0; row < run.sub; ++row) {
    std::memcpy(run.BackgroundAt(x, y + row),
                run.cell.data() + static_cast<size_t>(r * run.sub + row) * run.size + c * run.sub,
                static_cast<size_t>(run.sub));
  }
  const CRect rect =
      run.OnScreen(CRect(x - 10, run.H - y - run.sub - 10, x + run.sub + 10, run.H - y + 10));
  run.host->RenderRect(&rect);
  RunOneFrame(*run.scene);
  run.host->ShowRect(&rect);
}

int TileIndex(const FlyingRun& run, const C3DObject* obj) {
  for (int k = 0; k < kTiles; ++k) {
    if (run.tiles[k].get() == obj) return k;
  }
  return -1;
}

// One move: the content of cell a flies into the hole and a becomes the hole. 0, kStopped or
// the error code.
int FlyCell(FlyingRun& run, int Speed, const Cell& a) {
  TakeCell(run, a);
  const CRect cellRect = run.ScreenRect(a);
  PaintBackdrop(run, cellRect, run.background);
  PaintBackdrop(run, cellRect, run.host->GetSurface());
  LaunchTileGroup(run, Speed, static_cast<double>(run.sub), a, run.hole);
  run.scene->DrawObjects();
  CRect launch = cellRect;
  launch.InflateRect(3, 3);
  launch = run.OnScreen(launch);
  run.host->ShowRect(&launch);
  for (int landed = 0; landed < kTiles; ++landed) {
    C3DObject* t = run.scene->RunUntilOneStops(1);
    if (seams::StopRequested()) return kStopped;
    const int k = TileIndex(run, t);
    if (k < 0) return kFlyingTilesStrayObject;
    run.scene->RemoveObject(t);
    LandSquare(run, k);
  }
  CRect holeRect = run.ScreenRect(run.hole);
  holeRect.InflateRect(10, 10);
  RedrawRect(run, holeRect);
  for (auto& tile : run.tiles) run.scene->InsertObject(tile.get());
  run.previous = run.hole;
  run.hole = a;
  return 0;
}

Cell RandomSourceCell(const FlyingRun& run) {
  Cell a;
  do {
    a.x = run.area.left + (seams::Rand() % run.columns) * run.size;
    a.y = (run.H - run.area.bottom) + (seams::Rand() % run.rows) * run.size;
  } while (a == run.hole || a == run.previous);
  return a;
}

// Scramble, then the same moves backwards. 0, kTimeUp (the scramble ended at half the run
// time), kStopped or the error code.
int RunCycle(FlyingRun& run, const CRoutineFrame& frame, int Speed, int RunSeconds) {
  int n = seams::Rand() % 69 + 30;
  if (n > kHistorySize) return kFlyingTilesTooManyMoves;
  bool timeUp = false;
  int made = 0;
  while (made < n && !timeUp) {
    if (seams::StopRequested()) return kStopped;
    const Cell a = RandomSourceCell(run);
    run.history[made + 1] = run.hole;
    if (const int result = FlyCell(run, Speed, a)) return result;
    ++made;
    timeUp = RunSeconds > 0 && frame.ElapsedSeconds() > RunSeconds / 2;
  }
  n = made;
  for (int j = 0; j < n; ++j) {
    if (seams::StopRequested()) return kStopped;
    if (const int result = FlyCell(run, Speed, run.history[n - j])) return result;
  }
  return timeUp ? kTimeUp : 0;
}

// What the routine makes, kept alive until the frame's end steps are done.
struct FlyingRoutine {
  std::unique_ptr<FlyingRun> run;
};

// The grid on the picture's area: 0, or the error code; *tooSmall for fewer than 3 cells.
int ChooseGrid(FlyingRun& run, const RECT* area, int Res, bool* tooSmall) {
  RECT rect = CRect(*area) & CRect(0, 0, run.W, run.H);
  if (!ChooseTileSizeInRect(&rect, ClampRoutinePercent(Res), 0, 1, &run.size) || run.size <= 0) {
    return kFlyingTilesNoSize;
  }
  run.area = CRect(rect);
  if (run.area.Width() % run.size != 0 || run.area.Height() % run.size != 0 ||
      run.size % kGroupSide != 0) {
    return kFlyingTilesNoSize;
  }
  run.sub = run.size / kGroupSide;
  run.columns = run.area.Width() / run.size;
  run.rows = run.area.Height() / run.size;
  *tooSmall = run.columns < 1 || run.rows < 1 || run.columns * run.rows < 3;
  return 0;
}

// The scene's tiles, the reference pose, the saved cell (the hole now shows the backdrop) and
// the cell buffer. 0, or the error code.
int SetUpTiles(FlyingRun& run, CRoutineFrame& frame) {
  run.scene = frame.scene();
  for (auto& tile : run.tiles) {
    tile.reset(new (std::nothrow) C3DSquare);
    if (!tile || !tile->ready) return kFlyingTilesOutOfMemory;
    run.scene->InsertObject(tile.get());
  }
  CalibrateReference(run);
  seams::Srand(static_cast<uint32_t>(seams::WallSeconds()));
  run.saved.reset(new (std::nothrow) CDIB);
  if (!run.saved || !run.saved->Create(run.size, run.size, nullptr)) {
    run.saved.reset();
    return kFlyingTilesOutOfMemory;
  }
  const CRect r = run.SavedRect();
  run.background->CopyBits(run.saved.get(), 0, 0, run.size, run.size, r.left, r.top, -1);
  PaintBackdrop(run, r, run.background);
  RedrawRect(run, r);
  run.cell.assign(static_cast<size_t>(run.size) * run.size, 0);
  run.hole = Cell{run.area.right - run.size, run.H - run.area.bottom};
  run.previous = run.hole;
  return 0;
}

// The saved cell goes back into the hole, whichever way the run ended, and the screen is
// composed again: after a stop, squares still in flight are drawn on it.
void PutSavedCellBack(FlyingRun& run) {
  if (!run.saved) return;
  const CRect r = run.SavedRect();
  run.saved->CopyBits(run.background, r.left, r.top, r.Width(), r.Height(), 0, 0, -1);
  RedrawRect(run, CRect(0, 0, run.W, run.H));
  run.saved.reset();
}

struct FlyingArguments {
  ScreenHost* host;
  CDIB* backdrop;
  const RECT* area;
  int bInfiniteOn, bClockOn, Speed, Res, RunSeconds;
};

bool UsableBackdrop(const CDIB* backdrop, const CDIB* background) {
  return backdrop && backdrop->bits && backdrop->header &&
         backdrop->header->bmiHeader.biBitCount == 8 &&
         backdrop->GetWidth() == background->GetWidth() &&
         backdrop->GetHeight() == background->GetHeight();
}

int RunTiles(CRoutineFrame& frame, FlyingRoutine& made, const FlyingArguments& args) {
  CDIB* background = args.host ? args.host->GetBackground() : nullptr;
  if (!background || !background->bits || !args.host->GetSurface() || !args.area) {
    return frame.Fail(kFlyingTilesNoSize);
  }
  made.run.reset(new (std::nothrow) FlyingRun);
  if (!made.run) return frame.Fail(kFlyingTilesOutOfMemory);
  FlyingRun& run = *made.run;
  run.host = args.host;
  run.background = background;
  run.backdrop = UsableBackdrop(args.backdrop, background) ? args.backdrop : nullptr;
  run.W = background->GetWidth();
  run.H = background->GetHeight();
  bool tooSmall = false;
  if (const int error = ChooseGrid(run, args.area, args.Res, &tooSmall)) return frame.Fail(error);
  if (tooSmall) {
    frame.EndTraceWith(
        "Flying 3D Tiles - end - not enough squares to actually run the routine\n\n");
    return 1;
  }
  if (!frame.StartSceneAndClock(1, args.bClockOn)) return frame.Fail(kFlyingTilesOutOfMemory);
  frame.SetOwnEndSteps([&run] { PutSavedCellBack(run); });
  if (const int error = SetUpTiles(run, frame)) return frame.Fail(error);
  frame.StartTime();
  const int speed = ClampRoutinePercent(args.Speed);
  for (;;) {
    const int result = RunCycle(run, frame, speed, args.RunSeconds);
    if (result > 0) return frame.Fail(result);
    if (result < 0 || !args.bInfiniteOn) return 1;
  }
}

}  // namespace

void GetFlyingTilesErrorText(int code, CString* text) {
  FormatRoutineErrorText("3D Flying Tiles Error Message: ", kFlyingErrors, "Unrecognized error",
                         code, text);
}

int RunFlyingTiles(ScreenHost* pScreenDoc, CDIB* screenBackground, const RECT* area,
                   int bInfiniteOn, int bClockOn, int bSoundOn, int Speed, int Res, int Volume,
                   int bSpare, int bLogoOn, int RunSeconds, int traceFlag, CString* errorText) {
  FlyingRoutine made;  // outlives the frame's end steps
  CRoutineFrame frame(pScreenDoc, "Flying 3D Tiles", GetFlyingTilesErrorText, traceFlag, errorText);
  return frame.Run(
      {bInfiniteOn, bClockOn, bSoundOn, Speed, Res, Volume, bSpare, bLogoOn, RunSeconds},
      kFlyingTilesOutOfMemory, [&] {
        return RunTiles(frame, made,
                        FlyingArguments{pScreenDoc, screenBackground, area, bInfiniteOn, bClockOn,
                                        Speed, Res, RunSeconds});
      });
}
