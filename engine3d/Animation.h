// Motion set-ups of the shapes' face animations and of the bouncing routines: a straight flight
// to the next wall of a box with the velocity reflected for the flight after it, a turn of a
// solid about the axis through one of its faces or along one of its edges, and the capture of the
// picture under a face into the face's texture. The operations themselves are C3DPObject's
// (FlyToWall, TurnAboutFace, TurnAboutEdge, IsFaceFlatInRect, CaptureFaceTexture); this header
// holds what they share with their callers.
#pragma once

#include <cstdint>

#include "engine3d/Object3D.h"
#include "engine3d/PoseMath.h"

// How a flight turns the object. pivotFlag 1: plain spin from the start angles; endAngleMode 0
// keeps the angles, otherwise each axis turns by a random whole number of turns derived from
// `spin` (or one to three turns per ten seconds when all spins are 0). pivotFlag 0: the object
// spins by `spin` about the pivot frame (pivotIn, pivotOut).
struct FlightSettings {
  int32_t endAngleMode = 1;
  int32_t pivotFlag = 1;
  int32_t spin[3] = {0, 0, 0};
  Matrix4 pivotIn = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
  Matrix4 pivotOut = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
};

// Where the ray p + t d (t > 0) first meets one of the six planes, skipping plane `excluded`.
// index = that plane (-1 when none lies ahead), hit = the point (p when none). Returns 1 when the
// hit lies inside all six planes (a . x + b . y + c . z + d >= -0.00001 for each), else 0 (also
// when no plane lies ahead: the ray leaves through no wall).
int IntersectRayWithPlanes(const double p[3], const double d[3], const BoundingPlanes& planes,
                           int32_t excluded, int32_t& index, double hit[3]);

// Turn times of 0 or less make motions of no time; angle arguments of the arc cosine are held to
// [-1, 1]. A capture's fill colour is a COLORREF whose red part picks the grey level.
constexpr int kCaptureKeep = 0;
constexpr int kCaptureFill = 1;
constexpr int kCaptureRestoreOld = 2;
