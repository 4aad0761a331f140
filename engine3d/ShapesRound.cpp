// The cones, cylinders and balls: tables, builds, texturing and their turning schedules.
#include "engine3d/ShapesRound.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "engine3d/ShapeSkeleton.h"
#include "framework/Archive.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/ScreenHost.h"

IMPLEMENT_SERIAL(C3DCone, C3DPObject, 0)
IMPLEMENT_SERIAL(C3DCone52, C3DCone, 0)
IMPLEMENT_SERIAL(C3DCyl, C3DPObject, 0)
IMPLEMENT_SERIAL(C3DCyl52, C3DCyl, 0)
IMPLEMENT_SERIAL(C3DBall, C3DPObject, 0)
IMPLEMENT_SERIAL(C3DBall72, C3DBall, 0)
IMPLEMENT_SERIAL(C3DBall200, C3DBall, 0)

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kRing = 50;  // side faces of cones and cylinders
const FixedVector kAtRest = {0, 0, ShapeConstant(-300.0)};

double Radians(double degrees) { return degrees * kPi / 180.0; }

// Two rings of 50 points (top radius rt at yt, bottom rb at yb), 50 side quads, the top and the
// bottom. Side tips lean out by `slope` (horizontal h, vertical v parts of the unit normal).
ShapeTable RingTable(double rt, double yt, double rb, double yb, double h, double v) {
  ShapeTable t;
  for (int ring = 0; ring < 2; ++ring) {
    for (int i = 0; i < kRing; ++i) {
      const double a = Radians(7.2 * i), r = ring == 0 ? rt : rb;
      t.points.push_back(ShapePoint(r * std::cos(a), ring == 0 ? yt : yb, -r * std::sin(a)));
    }
  }
  for (int i = 0; i < kRing; ++i) {
    const double a = Radians(7.2 * (i + 0.5));
    t.points.push_back(ShapePoint(rt * std::cos(Radians(7.2 * i)) + h * std::cos(a), yt + v,
                                  -rt * std::sin(Radians(7.2 * i)) - h * std::sin(a)));
    const int32_t next = (i + 1) % kRing;
    t.faces.push_back({2 * kRing + i, i, next, kRing + next, kRing + i});
  }
  t.points.push_back(ShapePoint(rt, yt + 1, 0));
  t.points.push_back(ShapePoint(rb, yb - 1, 0));
  std::vector<int32_t> top = {2 * kRing + kRing, 0};
  for (int i = kRing - 1; i >= 1; --i) top.push_back(i);
  std::vector<int32_t> bottom = {2 * kRing + kRing + 1};
  for (int i = 0; i < kRing; ++i) bottom.push_back(kRing + i);
  t.faces.push_back(top);
  t.faces.push_back(bottom);
  t.vertexCount = 2 * kRing;
  return t;
}

const ShapeTable& Cone52Table() {
  static const ShapeTable table =
      RingTable(30, 10, 40, -10, 2.0 / std::sqrt(5.0), 1.0 / std::sqrt(5.0));
  return table;
}

const ShapeTable& Cyl52Table() {
  static const ShapeTable table = RingTable(30, 25, 30, -25, 1.0, 0.0);
  return table;
}

// A sphere of radius 25 with n bands and 2n points a ring, rings running from 180 degrees.
ShapeTable BallTable(int n) {
  ShapeTable t;
  const int m = 2 * n;
  const double step = 360.0 / m;
  t.points.push_back(ShapePoint(0, 25, 0));
  for (int b = 1; b < n; ++b) {
    const double lat = Radians(b * 180.0 / n), y = 25 * std::cos(lat), r = 25 * std::sin(lat);
    for (int j = 0; j < m; ++j) {
      const double a = Radians(180.0 - step * j);
      t.points.push_back(ShapePoint(r * std::cos(a), y, r * std::sin(a)));
    }
  }
  const int32_t south = static_cast<int32_t>(t.points.size());
  t.points.push_back(ShapePoint(0, -25, 0));
  auto ring = [m](int b, int j) { return 1 + m * (b - 1) + (j % m); };
  std::vector<std::vector<int32_t>> corners;
  for (int j = 0; j < m; ++j) corners.push_back({0, ring(1, j + 1), ring(1, j)});
  for (int b = 1; b + 1 < n; ++b) {
    for (int j = 0; j < m; ++j)
      corners.push_back({ring(b, j), ring(b, j + 1), ring(b + 1, j + 1), ring(b + 1, j)});
  }
  for (int j = 0; j < m; ++j) corners.push_back({ring(n - 1, j), ring(n - 1, j + 1), south});
  // Tips: the first corner plus the unit normal through the middle of the face.
  std::vector<FixedVector> raw(t.points);
  const int32_t firstTip = static_cast<int32_t>(t.points.size());
  for (size_t f = 0; f < corners.size(); ++f) {
    double c[3] = {0, 0, 0};
    for (int32_t v : corners[f]) {
      c[0] += raw[v].x;
      c[1] += raw[v].y;
      c[2] += raw[v].z;
    }
    const double len = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    const FixedVector& first = raw[corners[f][0]];
    t.points.push_back(ShapePoint(first.x / 65536.0 + c[0] / len, first.y / 65536.0 + c[1] / len,
                                  first.z / 65536.0 + c[2] / len));
    std::vector<int32_t> face = {firstTip + static_cast<int32_t>(f)};
    face.insert(face.end(), corners[f].begin(), corners[f].end());
    t.faces.push_back(face);
  }
  // Two spare entries close the table; the first two tips count with the vertices.
  t.points.push_back(FixedVector{0, 0, 0});
  t.points.push_back(FixedVector{0, 0, 0});
  t.vertexCount = firstTip + 2;
  return t;
}

const ShapeTable& Ball72Table() {
  static const ShapeTable table = BallTable(6);
  return table;
}

const ShapeTable& Ball200Table() {
  static const ShapeTable table = BallTable(10);
  return table;
}

using shape_anim::Grab;
using shape_anim::Odd;
using shape_anim::Roll;

// A roll of the cone and cylinder schedule: the face, the edge, and the face grabbed first
// (-1: none).
struct RingRoll {
  int32_t grab;
  int32_t face, a, b;
};

// The row of the schedule for state s of a shape with F faces (S = F - 2 side faces).
RingRoll RingSchedule(int32_t f, int32_t s) {
  const int32_t half = (f - 2) / 2;
  if (s == 0) return {f - 1, f - 1, f - 2, f - 1};
  if (s <= half) return {-1, s - 1, s, f + s - 2};
  if (s <= f - 1) return {f - s - 1, f - s - 1, f - s - 1, 2 * f - s - 3};
  if (s - f + 2 < half + 1) return {2 * f - s - 3, 2 * f - s - 3, 2 * f - s - 3, 3 * f - s - 5};
  if (s - f + 2 < f - 2) return {-1, s - f + 1, s - f + 2, s};
  if (s == 2 * f - 4) return {-1, f - 3, 0, f - 2};
  if (s == 2 * f - 3) return {-1, 0, 0, 1};
  if (s == 2 * f - 2) return {f - 2, f - 2, 0, 1};
  return {-1, 0, f - 2, f - 1};
}

// The grabs of the state-0 and state-(2F - 2) rows: the cone's happen on an odd draw only.
bool IsEndGrab(int32_t f, int32_t s) { return s == 0 || s == 2 * f - 2; }

void RunRingRoll(C3DPObject& o, const RingRoll& roll) { Roll(o, roll.face, roll.a, roll.b); }

// The ball's tessellation: band b (0-based), column j.
int32_t BallFace(int32_t n, int32_t b, int32_t j) { return b * 2 * n + (j % (2 * n)); }

}  // namespace

// ---- Cones ----------------------------------------------------------------------------------

int32_t C3DCone::AnimateStep() {
  const ShapeAnimation anim = {2 * faceCount, 4500};
  return RunShapeAnimation(*this, anim, FlightSettings(), [this](int32_t s) {
    const RingRoll roll = RingSchedule(faceCount, s);
    if (roll.grab >= 0 && Odd()) Grab(*this, roll.grab);
    RunRingRoll(*this, roll);
    return s + 1;
  });
}

C3DCone52::C3DCone52() {
  ready = BuildShape(*this, Cone52Table(), nullptr, kAtRest, true);
  spin[0] = 1000;
  velocity = FixedVector{0, ShapeConstant(2.0), ShapeConstant(-5.0)};
}

// ---- Cylinders ------------------------------------------------------------------------------

int32_t C3DCyl::AnimateStep() {
  ShapeAnimation anim = {2 * faceCount, 4500};
  anim.disabledSkipsTurning = false;
  return RunShapeAnimation(*this, anim, FlightSettings(), [this](int32_t s) {
    const RingRoll roll = RingSchedule(faceCount, s);
    if (roll.grab >= 0) {
      // The end faces grab only when they lie flat on the picture inside the screen area.
      if (!IsEndGrab(faceCount, s) || IsFaceFlatInRect(roll.grab, screenArea)) {
        Grab(*this, roll.grab);
      }
    }
    RunRingRoll(*this, roll);
    if (s == 0 && animEnabled == 0) return 2 * faceCount - 3;
    return s + 1;
  });
}

double C3DCyl::LogoAspectRatio() const {
  if (vertexCount <= kRing) return 0.0;
  const double x = vertices[0].x / 65536.0;
  const double height = (vertices[0].y - vertices[kRing].y) / 65536.0;
  return height != 0.0 ? x / height * 6.2831852 : 0.0;
}

int C3DCyl::MapTexture(CDIB* image) {
  if (image == nullptr || image->header == nullptr || image->bits == nullptr ||
      image->header->bmiHeader.biBitCount != 8 || faceCount < kRing + 2) {
    return 0;
  }
  const int32_t w = image->GetWidth(), h = image->GetHeight();
  // Each slice needs a column: narrower images gave empty slices with corners at -1.
  if (w < kRing || h < 1) return 0;
  for (int32_t i = 0; i < kRing; ++i) {
    const int32_t x0 = i * w / kRing, x1 = (i + 1) * w / kRing, sw = x1 - x0;
    uint8_t* block = new (std::nothrow) uint8_t[static_cast<size_t>(sw) * h];
    if (block == nullptr) return 0;
    for (int32_t y = 0; y < h; ++y) {
      const uint8_t* row = image->GetPixelAddress(x0, y);
      std::copy(row, row + sw, block + static_cast<size_t>(y) * sw);
    }
    const RasterPoint corners[4] = {{0, 0}, {sw - 1, 0}, {sw - 1, h - 1}, {0, h - 1}};
    if (!SetFaceTexture(i, sw, block, sw, h, RasterPolygon{4, corners}, true)) {
      delete[] block;
      return 0;
    }
  }
  return 1;
}

int C3DCyl::MapLogoTexture(ScreenHost* host, CDIB* logo) {
  CDIB* background = host != nullptr ? host->GetBackground() : nullptr;
  if (background == nullptr || logo == nullptr) return 0;
  std::unique_ptr<CColorPalette> colours(new (std::nothrow) CColorPalette);
  if (!colours || !colours->CreateFromDIB(background) || !logo->MapColorsToPalette(colours.get())) {
    return 0;
  }
  return MapTexture(logo);
}

C3DCyl52::C3DCyl52() {
  ready = BuildShape(*this, Cyl52Table(), nullptr, kAtRest, true);
  spin[0] = 1000;
}

// ---- Balls ----------------------------------------------------------------------------------

C3DBall::C3DBall() {
  flight.endAngleMode = 0;
  flight.pivotFlag = 1;
}

int32_t C3DBall::Bands() const {
  return static_cast<int32_t>(std::floor(std::sqrt(faceCount / 2.0) + 0.1));
}

int32_t C3DBall::GetAnimationStateCount() {
  const int32_t n = Bands();
  return animEnabled && n > 0 ? (2 * n + 1) * 2 * n - 2 : 0;
}

int32_t C3DBall::AnimateStep() {
  const int32_t n = Bands();
  if (n < 2) return 0;
  const int32_t h = n / 2;
  const int32_t total = (2 * n + 1) * 2 * n - 2;
  // Resting with the first face of band h - 1 on the picture.
  PoseAngles rest = {{-3.1415926 / (2 * n), 4.7123889 - 3.1415926 / (2 * n), 0}, {0, 0, 0}};
  ShapeAnimation anim = {total, 0};
  anim.homingPose = &rest;
  return RunShapeAnimation(*this, anim, flight, [this, n, h, total](int32_t s) {
    const int32_t phase2End = (4 * n + 1) * n + h - 3;
    if (s <= h - 2) {
      // Up the first column to the north cap.
      shape_anim::RollOnto(*this, BallFace(n, h - 1 - s, 0), BallFace(n, h - 2 - s, 0));
    } else if (s <= phase2End) {
      // Twice round each band (grabbing on the middle half of the way), then down to the next.
      const int32_t t = s - h + 1, band = t / (4 * n + 1), r = t % (4 * n + 1);
      const int32_t from = BallFace(n, band, r);
      if (r == 4 * n) {
        shape_anim::RollOnto(*this, from, BallFace(n, band + 1, r));
      } else {
        if (r >= n && r < 3 * n) Grab(*this, from);
        shape_anim::RollOnto(*this, from, BallFace(n, band, r + 1));
      }
    } else {
      // Back up the first column to where the cycle began.
      const int32_t band = (total - s) + h - 1;
      shape_anim::RollOnto(*this, BallFace(n, band, 0), BallFace(n, band - 1, 0));
    }
    return s + 1;
  });
}

void SqueezeRowsToTriangle(uint8_t* block, int32_t w, int32_t h, int mode) {
  if (block == nullptr || w < 1 || h < 2) return;
  std::vector<uint8_t> row(static_cast<size_t>(w));
  for (int32_t r = 0; r + 1 < h; ++r) {
    uint8_t* line = block + static_cast<size_t>(r) * w;
    std::copy(line, line + w, row.begin());
    const int64_t keep =
        std::max<int64_t>(1, (mode == 0 ? int64_t{w} * (r + 1) : int64_t{w} * (h - 1 - r)) / h);
    const int64_t step = w / keep;
    for (int64_t x = 0; x < w; ++x) {
      const int64_t at = std::min<int64_t>(step / 2 + std::min(x, keep - 1) * step, w - 1);
      line[x] = row[static_cast<size_t>(at)];
    }
  }
}

int C3DBall::MapTexture(CDIB* image) {
  const int32_t n = Bands();
  if (n < 1 || image == nullptr || image->header == nullptr || image->bits == nullptr ||
      image->header->bmiHeader.biBitCount != 8 || faceCount < 2 * n * n) {
    return 0;
  }
  const int32_t w = image->GetWidth(), h = image->GetHeight();
  // Every cell needs two pixels each way: its texture is one less than the cell.
  if (w < 4 * n || h < 2 * n) return 0;
  for (int32_t b = 0; b < n; ++b) {
    for (int32_t j = 0; j < 2 * n; ++j) {
      const int32_t y0 = b * h / n, y1 = (b + 1) * h / n;
      const int32_t x0 = j * w / (2 * n), x1 = (j + 1) * w / (2 * n);
      const int32_t cw = x1 - x0 - 1, ch = y1 - y0 - 1;
      // The block is the face's once it holds it; until then a failure takes it back.
      std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[static_cast<size_t>(cw) * ch]);
      if (!block) return 0;
      for (int32_t y = 0; y < ch; ++y) {
        const uint8_t* row = image->GetPixelAddress(x0, y0 + y);
        std::copy(row, row + cw, block.get() + static_cast<size_t>(y) * cw);
      }
      const int32_t face = BallFace(n, b, j);
      RasterPoint corners[4] = {{0, 0}, {cw - 1, 0}, {cw - 1, ch - 1}, {0, ch - 1}};
      int32_t count = 4;
      try {
        if (b == 0) {
          SqueezeRowsToTriangle(block.get(), cw, ch, 0);
          corners[1] = {cw - 1, ch - 1};
          corners[2] = {0, ch - 1};
          count = 3;
        } else if (b == n - 1) {
          SqueezeRowsToTriangle(block.get(), cw, ch, 1);
          corners[2] = {0, ch - 1};
          count = 3;
        }
      } catch (const std::bad_alloc&) {
        return 0;  // no room for the squeeze's row
      }
      if (!SetFaceTexture(face, cw, block.get(), cw, ch, RasterPolygon{count, corners}, true))
        return 0;
      block.release();
    }
  }
  return 1;
}

C3DBall72::C3DBall72() {
  ready = BuildShape(*this, Ball72Table(), nullptr, kAtRest, true);
  spin[1] = 1000;
  velocity = FixedVector{ShapeConstant(10.0), ShapeConstant(-10.0), 0};
}

C3DBall200::C3DBall200() {
  ready = BuildShape(*this, Ball200Table(), nullptr, kAtRest, true);
  spin[1] = 1000;
  velocity = FixedVector{ShapeConstant(10.0), ShapeConstant(-10.0), 0};
}
