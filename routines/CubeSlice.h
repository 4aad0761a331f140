// The puzzle cube's moves: one third of a textured cube turns about the axis of one face, and
// the face textures are carried round with it, so that the cube looks like a 3 x 3 x 3 puzzle
// after every move and the reverse moves restore every texture exactly.
//
// For a move the cube is split into two blocks that take its place in the scene: the slice (the
// third next to the turning face) and the rest. Each block gets its share of the cube's face
// textures: the turning face (or, for the rest, the opposite face) whole, as a view of the cube's
// own pixels, and each side face's stripe along the edge it shares with that face, cut into a
// block of the block's own. After the turn the slice's stripes and turning face are written back
// into the cube's textures, each turned by the quarter turns that bring its anchor corner onto
// its new place.
#pragma once

#include <cstdint>
#include <functional>

#include "engine3d/FixedMath.h"

class C3DCube;
class C3DPObject;
class C3DScene;

// Turns the texels of a block by k quarter turns into another block (rows in memory order, each
// block as wide as its rows):
//   0: row y to row y (the source's width of it), 1: (x, y) to column tw - 1 - y, row x,
//   2: (x, y) to (tw - 1 - x, th - 1 - y), 3: (x, y) to column y, row th - 1 - x.
// The turned block lands in a corner of the target and must fit it. Returns 1 when written; 0,
// writing nothing, for another k, an empty block or a turned block larger than the target.
int RotateTexture(int k, const uint8_t* source, int sw, int sh, uint8_t* target, int tw, int th);

// The tip of the unit normal from p0 of the face through p0, p1, p2 (the normal (p2 - p0) x
// (p1 - p0), outward for the shapes' corner order). A face whose three points lie on one line
// has no normal: *out keeps its old value. Returns 1, or 0 for such a face.
int ComputeFaceNormal(const FixedVector& p0, const FixedVector& p1, const FixedVector& p2,
                      FixedVector* out);

// Copies the texture of the source face into the target face's own block so that the texel at
// the source corner (a vertex index) lands at the target corner, turned in whole quarter turns.
// Returns 1, or 0 (nothing written) when a face has no texture, a corner is not the face's, its
// texture coordinate is not a corner of the texture, or the turned block does not fit.
int CopyFaceTexture(C3DPObject& source, int sourceFace, int sourceCorner, C3DPObject& target,
                    int targetFace, int targetCorner);

// Gives a piece of the cube its share of the cube's textures: the face whole (a view of the
// cube's pixels, which the piece never owns) and, for each side face around it, the stripe along
// the edge shared with the face, a third of the side's depth for part 0 (the slice) and the other
// two thirds for part 1 (the rest). Returns 0 when memory runs out.
int CopyPieceTextures(C3DPObject& cube, C3DPObject& piece, int part, int face);

// The slice's textures written back into the cube after q quarter turns about face f.
void ApplyTurnTextures(C3DPObject& cube, C3DPObject& slice, int f, int q);

// One move: the third next to face f (0..5) turns by q quarter turns (-3..-1, 1..3), each in
// `seconds`, drawn in the scene; startSound runs as each quarter turn starts and stopSound as it
// ends. The cube is back in the scene afterwards with its textures turned. Returns 1; 0 when
// memory runs out or a stop was requested (the cube then is back in the scene, its textures as
// they were before the move).
int TurnCubeSlice(C3DScene& scene, C3DCube& cube, int f, int q, double seconds,
                  const std::function<void()>& startSound, const std::function<void()>& stopSound);

// The opposite face of each face of a box.
int OppositeCubeFace(int f);
