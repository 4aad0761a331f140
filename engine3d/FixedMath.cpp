// Fixed-point angles and affine transforms.
#include "engine3d/FixedMath.h"

int32_t ReduceAngle(int32_t angle) {
  int64_t a = static_cast<int64_t>(angle) % kFullTurn;
  if (a < 0) a += kFullTurn;
  return static_cast<int32_t>(a);
}

void FixedCosSin(int32_t angle, Fixed& cosOut, Fixed& sinOut) {
  const int32_t a = ReduceAngle(angle);
  const int32_t* t = CosineTable;
  if (a < 900) {
    cosOut = t[a];
    sinOut = t[900 - a];
  } else if (a < 1800) {
    const int32_t k = 1800 - a;
    cosOut = -t[k];
    sinOut = t[900 - k];
  } else if (a <= 2700) {
    const int32_t j = a - 1800;
    cosOut = -t[j];
    sinOut = -t[900 - j];
  } else {
    const int32_t k = 3600 - a;
    cosOut = t[k];
    sinOut = -t[900 - k];
  }
}

FixedMatrix FixedTranslation(Fixed x, Fixed y, Fixed z) {
  FixedMatrix m = {{{kFixedOne, 0, 0, x}, {0, kFixedOne, 0, y}, {0, 0, kFixedOne, z}}};
  return m;
}

namespace {

// Rows p and q of the rotation part become (c.p - s.q, s.p + c.q): a turn that takes axis p
// toward axis q. Each product is rounded separately and the negative term multiplies by -s,
// so results match the table-driven engine bit for bit.
void TurnRows(FixedMatrix& matrix, int p, int q, int32_t angle) {
  Fixed c, s;
  FixedCosSin(angle, c, s);
  const Fixed negS = -s;
  for (int j = 0; j < 3; ++j) {
    const Fixed rp = matrix.m[p][j];
    const Fixed rq = matrix.m[q][j];
    matrix.m[p][j] = WrapAdd(FixedMul(c, rp), FixedMul(negS, rq));
    matrix.m[q][j] = WrapAdd(FixedMul(s, rp), FixedMul(c, rq));
  }
}

}  // namespace

// About x: y turns toward z.
void RotateMatrixX(FixedMatrix& matrix, int32_t angle) { TurnRows(matrix, 1, 2, angle); }
// About y: z turns toward x.
void RotateMatrixY(FixedMatrix& matrix, int32_t angle) { TurnRows(matrix, 2, 0, angle); }
// About z: x turns toward y.
void RotateMatrixZ(FixedMatrix& matrix, int32_t angle) { TurnRows(matrix, 0, 1, angle); }

void ComposeTransforms(const FixedMatrix& a, const FixedMatrix& b, FixedMatrix& out) {
  for (int i = 0; i < 3; ++i) {
    const Fixed* row = a.m[i];
    for (int j = 0; j < 4; ++j) {
      Fixed sum = WrapAdd(WrapAdd(FixedMul(row[0], b.m[0][j]), FixedMul(row[1], b.m[1][j])),
                          FixedMul(row[2], b.m[2][j]));
      // b's implicit fourth row is (0, 0, 0, 1): only the translation column gains a's own.
      out.m[i][j] = j == 3 ? WrapAdd(sum, row[3]) : sum;
    }
  }
}
