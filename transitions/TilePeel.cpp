// The tile peel's run: checks, tiling, the calibrated scene, the tiles' motions and textures, and
// the launch loops of both directions.
#include "transitions/TilePeel.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "engine3d/PoseMath.h"
#include "engine3d/Scene.h"
#include "engine3d/ShapesFlat.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/ScreenHost.h"
#include "imaging/SpriteList.h"
#include "imaging/TileSize.h"
#include "seams/Clock.h"
#include "seams/Random.h"
#include "seams/Trace.h"

namespace {

constexpr int kMaxSquares = 1296;
constexpr int32_t kRestingAngles[3] = {900, 0, 450};

// The scene's reference point, kept between runs: each run calibrates its depth so that a square
// there covers exactly one tile.
constexpr FixedVector kFirstReferencePoint = {0, 0, -19660799};
FixedVector g_referencePoint = kFirstReferencePoint;

bool IsSlider(int v) { return v >= 1 && v <= 100; }

bool IsScreenSized(const CDIB* dib, int width, int height) {
  return dib != nullptr && dib->header != nullptr && dib->bits != nullptr &&
         dib->header->bmiHeader.biBitCount == 8 && dib->GetWidth() == width &&
         dib->GetHeight() == height;
}

// One tile: its square, its lower-left corner (y up from the bottom of the screen) and its
// window rectangle.
struct Tile {
  C3DSquare* square = nullptr;
  int x = 0, y = 0;
  CRect window;
};

// Everything a run holds; released whatever way the run ends.
struct Run {
  ScreenHost& host;
  CDIB& bitmap;
  TileGrid grid{};
  int effect = 0;
  bool offScreen = true;
  double speed = 1.0;   // S, seconds
  double interval = 0;  // P, seconds
  double span = 1.0;    // D
  std::unique_ptr<C3DScene> scene;
  std::vector<std::unique_ptr<C3DSquare>> squares;
  std::vector<Tile> tiles;       // in the effect's order
  std::vector<uint8_t> picture;  // the picture the tiles carry, rows as the bitmap's
  int pictureStride = 0;
  FixedVector c1{0, 0, 0}, c2{0, 0, 0};

  Run(ScreenHost& h, CDIB& b) : host(h), bitmap(b) {}
  ~Run() {
    if (scene) {
      for (auto& sq : squares) scene->RemoveObject(sq.get());
    }
  }
  int N() const { return grid.across * grid.rows; }
  CRect Rect() const {
    const int top = grid.height - grid.bottom - grid.rows * grid.size;
    return CRect(grid.left, top, grid.left + grid.across * grid.size, top + grid.rows * grid.size);
  }
};

int ToFixedRatio(double ratio) {
  const double v = ratio * 65536.0 + 0.5;
  return v >= 2147483647.0 ? INT32_MAX : (v <= 0 ? 0 : static_cast<int>(v));
}

// The probe at the reference point, at rest: the exact width of its projected face in pixels, not
// one rounded to pixels (a rounded one drifts run after run).
double ProbeWidth(C3DSquare& probe) {
  const int32_t none[3] = {0, 0, 0};
  const FixedVector origin = {0, 0, 0};
  probe.SetMotion(g_referencePoint, kRestingAngles, origin, none, 6.0, 1);
  probe.Transform();
  Fixed lo = INT32_MAX, hi = INT32_MIN;
  for (int i = 1; i <= probe.faces[0].n; ++i) {
    const Fixed px = probe.projected[static_cast<size_t>(probe.faces[0].indices[i])].x;
    lo = std::min(lo, px);
    hi = std::max(hi, px);
  }
  return (static_cast<double>(hi) - lo) / 65536.0;
}

// Makes the probe's face cover one tile at the reference point, then reads the tile's two edges
// in the view (one tile right, one tile up).
void Calibrate(Run& run) {
  C3DSquare& probe = *run.squares[0];
  run.scene->InsertObject(&probe);
  double width = g_referencePoint.z < 0 ? ProbeWidth(probe) : 0.0;
  if (!(width > 0.0)) {
    // A depth on or behind the camera's plane, or where the probe shows no width, cannot be
    // scaled to a tile, and kept it would spoil every later run: start again from the first.
    g_referencePoint = kFirstReferencePoint;
    width = ProbeWidth(probe);
  }
  const Fixed scaled = FixedMul(g_referencePoint.z, ToFixedRatio(width / run.grid.size));
  if (scaled < 0) g_referencePoint.z = scaled;  // a ratio below 1/65536 keeps the depth it had
  const int32_t none[3] = {0, 0, 0};
  const FixedVector origin = {0, 0, 0};
  probe.SetMotion(g_referencePoint, kRestingAngles, origin, none, 6.0, 1);
  probe.GetFaceEdges(0, run.c1, run.c2);
  run.scene->RemoveObject(&probe);
}

// The 3D position of the tile whose lower-left corner is at (px, py) on the screen.
FixedVector ScreenToScene(const Run& run, int px, int py) {
  const TileGrid& g = run.grid;
  auto toFixed = [](double v) { return SaturateToInt32(v * 65536.0 + 0.5); };
  const Fixed fu = toFixed((px - g.width / 2.0 + g.size / 2.0) / g.size);
  const Fixed fv = toFixed((py - g.height / 2.0 + g.size / 2.0) / g.size);
  return FixedVector{
      WrapAdd(g_referencePoint.x, WrapAdd(FixedMul(run.c1.x, fu), FixedMul(run.c2.x, fv))),
      WrapAdd(g_referencePoint.y, WrapAdd(FixedMul(run.c1.y, fu), FixedMul(run.c2.y, fv))),
      WrapAdd(g_referencePoint.z, WrapAdd(FixedMul(run.c1.z, fu), FixedMul(run.c2.z, fv)))};
}

// The tile's motion between its place and its exit point, and its texture: its own area of the
// picture copy, which stays the run's.
bool SetTileMotion(Run& run, const Tile& tile, int ex, int ey, double seconds,
                   const int32_t from[3], const int32_t to[3]) {
  const FixedVector here = ScreenToScene(run, tile.x, tile.y);
  const FixedVector there = ScreenToScene(run, ex, ey);
  C3DSquare& sq = *tile.square;
  if (run.offScreen) {
    sq.SetMotion(here, from, there, to, seconds, 0);
  } else {
    sq.SetMotion(there, from, here, to, seconds, 0);
  }
  const int s = run.grid.size;
  // Corners to x + s and y + s: ending a texel short left a seam between tiles.
  const RasterPoint corners[4] = {
      {tile.x + s, tile.y}, {tile.x + s, tile.y + s}, {tile.x, tile.y + s}, {tile.x, tile.y}};
  return sq.SetFaceTexture(0, run.pictureStride, run.picture.data(), run.grid.width,
                           run.grid.height, RasterPolygon{4, corners}, false) == 1;
}

// Order, places, exit points, travel times, spins, motions and textures of every tile.
bool InitTiles(Run& run) {
  const TileGrid& g = run.grid;
  const std::vector<int> order = Transition3DOrder(run.effect, g.across, g.rows);
  if (static_cast<int>(order.size()) != run.N()) return false;
  run.tiles.resize(order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    Tile& t = run.tiles[i];
    t.square = run.squares[i].get();
    t.x = g.left + (order[i] % g.across) * g.size;
    t.y = g.bottom + (order[i] / g.across) * g.size;
    t.window = CRect(t.x, g.height - t.y - g.size, t.x + g.size, g.height - t.y);
    int ex = 0, ey = 0;
    Transition3DExitPoint(run.effect, g, t.x, t.y, ex, ey);
    const double S = run.speed, D = run.span;
    const double T = run.offScreen ? S * (std::abs(t.x - ex) + std::abs(t.y - ey)) /
                                         (g.height / 2.0 + g.width / 2.0)
                                   : S / D + (1.0 - 1.0 / D) * S * static_cast<double>(i) / run.N();
    const int a = seams::Rand() % 4 + 1;
    const int b = seams::Rand() % 5;
    const int c = seams::Rand() % 5;
    const double turns[3] = {a * T / S, b * T / S, c * T / S};
    int32_t from[3], to[3];
    for (int k = 0; k < 3; ++k) {
      const double whole = turns[k] * 3600.0;
      if (run.offScreen) {
        from[k] = kRestingAngles[k];
        to[k] = SaturateToInt32(kRestingAngles[k] + whole);
      } else {
        to[k] = kRestingAngles[k];
        from[k] = SaturateToInt32(kRestingAngles[k] - whole);
      }
    }
    if (!SetTileMotion(run, t, ex, ey, T, from, to)) return false;
  }
  return true;
}

// Off: the new screen appears where the tile was, the square (still in its place) drawn over it.
void LiftTile(Run& run, Tile& tile) {
  const CRect& r = tile.window;
  run.bitmap.CopyBits(run.host.GetBackground(), r.left, r.top, r.Width(), r.Height(), r.left, r.top,
                      -1);
  run.bitmap.CopyBits(run.host.GetSurface(), r.left, r.top, r.Width(), r.Height(), r.left, r.top,
                      -1);
  run.scene->DrawObjects();
  CRect shown = r;
  shown.InflateRect(3, 3);
  shown &= CRect(0, 0, run.grid.width, run.grid.height);
  run.host.ShowRect(&shown);
  tile.square->oldBox = tile.square->box;
}

// On: the tile's area joins the background, and what the square last covered is repainted.
void LandTile(Run& run, Tile& tile) {
  const CRect& r = tile.window;
  run.bitmap.CopyBits(run.host.GetBackground(), r.left, r.top, r.Width(), r.Height(), r.left, r.top,
                      -1);
  std::vector<CRect> parts;
  for (const CRect& part :
       {run.scene->WindowRect(tile.square->oldBox), run.scene->WindowRect(tile.square->box), r}) {
    if (part.IsRectEmpty()) continue;
    CRect joined = part;
    for (auto it = parts.begin(); it != parts.end();) {
      CRect overlap;
      if (overlap.IntersectRect(&joined, &*it)) {
        joined |= *it;
        it = parts.erase(it);
      } else {
        ++it;
      }
    }
    parts.push_back(joined);
  }
  for (CRect& part : parts) {
    part &= CRect(0, 0, run.grid.width, run.grid.height);
    run.host.RenderRect(&part);
    run.host.ShowRect(&part);
  }
}

Tile* TileOf(Run& run, C3DObject* obj) {
  for (Tile& t : run.tiles) {
    if (t.square == obj) return &t;
  }
  return nullptr;
}

// Runs the scene until the deadline or until it is empty, taking stopped squares out (landing
// them first on the way in). False at a stop request.
bool RunUntil(Run& run, uint32_t deadline, int& landed) {
  std::vector<C3DObject*> stopped(static_cast<size_t>(run.N()) + 1);
  while (run.scene->count > 0) {
    const uint32_t now = seams::TickCount();
    const double left = seams::TickBefore(now, deadline) ? (deadline - now) / 1000.0 : 0.0;
    if (left <= 0.0) return true;
    int32_t n = 0;
    const int result = run.scene->RunForSeconds(left, 1, stopped.data(), &n);
    if (result == kSceneInterrupted || seams::StopRequested()) return false;
    if (result == kSceneTimeUp) return true;
    for (int32_t k = 0; k < n; ++k) {
      Tile* tile = TileOf(run, stopped[static_cast<size_t>(k)]);
      if (tile == nullptr) continue;
      if (!run.offScreen) {
        LandTile(run, *tile);
        ++landed;
      }
      run.scene->RemoveObject(tile->square);
    }
  }
  return true;
}

uint32_t LaunchDeadline(const Run& run, int i) {
  const double wait = Transition3DLaunchWait(i, run.N(), run.interval, run.span);
  return seams::TickCount() + static_cast<uint32_t>(std::max(0.0, wait * 1000.0));
}

bool PeelOff(Run& run) {
  int landed = 0;
  for (int i = 0; i < run.N(); ++i) {
    Tile& tile = run.tiles[static_cast<size_t>(i)];
    run.scene->InsertObject(tile.square);
    LiftTile(run, tile);
    if (!RunUntil(run, LaunchDeadline(run, i), landed)) return false;
  }
  run.scene->RunUntilAllStopped(1);
  return !seams::StopRequested();
}

bool FlyOn(Run& run) {
  int landed = 0;
  for (int j = run.N() - 1; j >= 0; --j) {
    run.scene->InsertObject(run.tiles[static_cast<size_t>(j)].square);
    if (!RunUntil(run, LaunchDeadline(run, j), landed)) return false;
  }
  while (landed < run.N()) {
    const uint32_t deadline = seams::TickCount() + 100000;
    if (run.scene->count == 0) break;
    if (!RunUntil(run, deadline, landed)) return false;
  }
  return true;
}

// After a stop request: the screen shows the end state at once, squares in flight (which may be
// anywhere on the screen) wiped with it.
void ShowEndState(Run& run) {
  const CRect r = run.Rect();
  run.bitmap.CopyBits(run.host.GetBackground(), r.left, r.top, r.Width(), r.Height(), r.left, r.top,
                      -1);
  run.host.RenderRect(nullptr);
  run.host.ShowRect(nullptr);
}

// Scene, squares and picture copy; false when memory runs out.
bool MakeParts(Run& run) {
  run.scene.reset(new (std::nothrow) C3DScene(&run.host));
  if (!run.scene) return false;
  try {
    run.squares.reserve(static_cast<size_t>(run.N()));
    for (int i = 0; i < run.N(); ++i) {
      std::unique_ptr<C3DSquare> sq(new (std::nothrow) C3DSquare);
      if (!sq || !sq->ready) return false;
      run.squares.push_back(std::move(sq));
    }
    CDIB& source = run.offScreen ? *run.host.GetBackground() : run.bitmap;
    run.pictureStride = source.GetStorageWidth();
    run.picture.assign(source.bits,
                       source.bits + static_cast<size_t>(run.pictureStride) * run.grid.height);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace

double Transition3DLaunchWait(int i, int n, double interval, double span) {
  const double d = interval / span;
  return d + i * (interval - d) / n;
}

int32_t GetTransition3DReferenceDepth() { return g_referencePoint.z; }

void SetTransition3DReferenceDepth(int32_t depth) { g_referencePoint.z = depth; }

BOOL Transition3DFX(int effect, int offScreen, ScreenHost* host, CDIB* bitmap, RECT* rect,
                    BOOL bClockOn, BOOL bSoundOn, int speed, int res, int peelRate, int volume,
                    int trace, CString* errorText) {
  std::optional<seams::TraceScope> scope;
  if (trace) {
    scope.emplace("Transition3DFX");
    seams::Trace::Printf("bClockOn=%x,bSoundOn=%x,Speed=%d,Res=%d,Volume=%d\n", bClockOn, bSoundOn,
                         speed, res, volume);
  }
  auto fail = [&](int code) {
    if (errorText) GetTrans3DFXErrorText(code, *errorText);
    if (scope) scope->Fail();
    return FALSE;
  };
  auto untiled = [&](int code) {
    if (errorText) GetTrans3DFXErrorText(code, *errorText);
    *rect = RECT{0, 0, 0, 0};
    return TRUE;
  };
  if (effect < 0 || effect > 9) return fail(kTrans3DBadEffect);
  if (!IsSlider(speed) || !IsSlider(res) || !IsSlider(peelRate) || !IsSlider(volume)) {
    return fail(kTrans3DBadSlider);
  }
  CDIBSurface* surface = host != nullptr ? host->GetSurface() : nullptr;
  if (surface == nullptr || rect == nullptr ||
      !IsScreenSized(bitmap, surface->GetWidth(), surface->GetHeight()) ||
      !IsScreenSized(host->GetBackground(), surface->GetWidth(), surface->GetHeight())) {
    return fail(kTrans3DBitmapMismatch);
  }
  Run run(*host, *bitmap);
  run.effect = effect;
  run.offScreen = offScreen != 0;
  int s = 0;
  if (!ChooseTileSizeInRect(rect, res, 1, 0, &s)) return untiled(kTrans3DNoTileSize);
  TileGrid& g = run.grid;
  g = TileGrid{s,
               (rect->right - rect->left) / s,
               (rect->bottom - rect->top) / s,
               surface->GetWidth(),
               surface->GetHeight(),
               rect->left,
               surface->GetHeight() - rect->bottom};
  if (run.N() > kMaxSquares) return untiled(kTrans3DTooManySquares);
  if (trace) {
    seams::Trace::Printf("SquareWidth=%d,Horz.Squares=%d,Vert Squares=%d\n", s, g.across, g.rows);
  }
  if (g.across < 2 || g.rows < 2) return untiled(kTrans3DTooFewSquares);
  if (!MakeParts(run)) return fail(kTrans3DOutOfMemory);
  Calibrate(run);
  seams::Srand(static_cast<uint32_t>(seams::WallSeconds()));
  run.speed = speed * 0.095 + 0.5;
  run.interval = peelRate * 0.01;
  run.span = GetTransition3DSpan(effect, g.across, g.rows);
  if (!InitTiles(run)) return fail(kTrans3DOutOfMemory);
  const bool finished = run.offScreen ? PeelOff(run) : FlyOn(run);
  if (!finished) ShowEndState(run);
  // No sprite outlives the peel: one left over would be drawn onto the next picture.
  host->GetSprites()->DeleteAll();
  return TRUE;
}
