#include "routines/TileBoard.h"

#include <cstdlib>

#include "imaging/ClockOverlay.h"
#include "seams/Clock.h"
#include "seams/Random.h"

IMPLEMENT_DYNCREATE(CBlock, CObject)

namespace {

const int kStepColumn[4] = {0, 1, 0, -1};  // up, right, down, left
const int kStepRow[4] = {-1, 0, 1, 0};

int Reverse(int direction) { return (direction + 2) % 4; }

}  // namespace

int TileWidth(int shape) { return shape == kTile2x1 || shape == kTile2x2 ? 2 : 1; }
int TileHeight(int shape) { return shape == kTile1x2 || shape == kTile2x2 ? 2 : 1; }

void TileMoveTarget(int direction, int distance, int fromColumn, int fromRow, int* toColumn,
                    int* toRow) {
  *toColumn = fromColumn + kStepColumn[direction] * distance;
  *toRow = fromRow + kStepRow[direction] * distance;
}

CTileBoard::CTileBoard(int columns, int rows) : columns_(columns), rows_(rows) {
  for (auto& column : owner_) {
    for (int& cell : column) cell = -1;
  }
  for (int row = 0; row < rows_; ++row) {
    for (int column = 0; column < columns_; ++column) {
      grid_[column][row] = 1;
      empty_[emptyCount_++] = {column, row};
    }
  }
}

CTileBoard::~CTileBoard() {
  for (int i = 0; i < tileCount_; ++i) delete tiles_[i];
}

bool CTileBoard::IsEmpty(int column, int row) const {
  return column >= 0 && row >= 0 && column < columns_ && row < rows_ && grid_[column][row] == 1;
}

int CTileBoard::CountEmptyCells() const {
  int count = 0;
  for (int column = 0; column < columns_; ++column) {
    for (int row = 0; row < rows_; ++row) count += grid_[column][row] == 1;
  }
  return count;
}

void CTileBoard::CoverCell(int column, int row, int tileIndex) {
  grid_[column][row] = 0;
  owner_[column][row] = tileIndex;
  for (int i = 0; i < emptyCount_; ++i) {
    if (empty_[i].column == column && empty_[i].row == row) {
      empty_[i] = empty_[--emptyCount_];
      return;
    }
  }
}

void CTileBoard::FreeCell(int column, int row) {
  if (grid_[column][row] == 1) return;
  grid_[column][row] = 1;
  owner_[column][row] = -1;
  empty_[emptyCount_++] = {column, row};
}

BOOL CTileBoard::AddTile(CBlock* tile) {
  if (!tile || tileCount_ == kMaxTiles || tile->shape < kTile1x1 || tile->shape > kTile2x2) {
    return 0;
  }
  const int w = TileWidth(tile->shape);
  const int h = TileHeight(tile->shape);
  for (int x = 0; x < w; ++x) {
    for (int y = 0; y < h; ++y) {
      if (!IsEmpty(tile->column + x, tile->row + y)) return 0;
    }
  }
  tiles_[tileCount_] = tile;
  for (int x = 0; x < w; ++x) {
    for (int y = 0; y < h; ++y) CoverCell(tile->column + x, tile->row + y, tileCount_);
  }
  ++tileCount_;
  return 1;
}

int CTileBoard::TileSlideDistance(int shape, int column, int row, int direction) const {
  const int w = TileWidth(shape);
  const int h = TileHeight(shape);
  // The cells along the side facing the direction: a run of `span` cells from (c, r) stepping
  // by (dc, dr), once the tile has slid `distance` cells.
  for (int distance = 0;; ++distance) {
    int c = column + kStepColumn[direction] * distance;
    int r = row + kStepRow[direction] * distance;
    int dc = 0, dr = 0, span = 0;
    switch (direction) {
      case kMoveUp:
        r -= 1;
        dc = 1;
        span = w;
        break;
      case kMoveDown:
        r += h;
        dc = 1;
        span = w;
        break;
      case kMoveLeft:
        c -= 1;
        dr = 1;
        span = h;
        break;
      default:
        c += w;
        dr = 1;
        span = h;
        break;
    }
    for (int i = 0; i < span; ++i) {
      if (!IsEmpty(c + i * dc, r + i * dr)) return distance;
    }
  }
}

int CTileBoard::GenerateTileMoves(TileMove* moves) const {
  // Only a tile beside an empty cell can move. The tiles beside the (normally four) empty cells
  // are taken in tile order, so the list is what a walk over every tile would give.
  constexpr int kMaxNeighbours = 32;
  int candidates[kMaxTiles];
  int count = 0;
  if (emptyCount_ * 4 <= kMaxNeighbours) {
    for (int e = 0; e < emptyCount_; ++e) {
      for (int d = 0; d < 4; ++d) {
        const int c = empty_[e].column + kStepColumn[d];
        const int r = empty_[e].row + kStepRow[d];
        if (c < 0 || r < 0 || c >= columns_ || r >= rows_ || owner_[c][r] < 0) continue;
        int at = count;  // keep the list sorted and without repeats
        while (at > 0 && candidates[at - 1] > owner_[c][r]) --at;
        if (at > 0 && candidates[at - 1] == owner_[c][r]) continue;
        for (int i = count; i > at; --i) candidates[i] = candidates[i - 1];
        candidates[at] = owner_[c][r];
        ++count;
      }
    }
  } else {
    for (int i = 0; i < tileCount_; ++i) candidates[count++] = i;
  }

  int n = 0;
  for (int i = 0; i < count; ++i) {
    CBlock* tile = tiles_[candidates[i]];
    for (int d = 0; d < 4; ++d) {
      const int distance = TileSlideDistance(tile->shape, tile->column, tile->row, d);
      if (distance == 0) continue;
      if (n == kMovesPerLevel) return n;
      moves[n++] = {tile, d, distance};
    }
  }
  return n;
}

void CTileBoard::ApplyTileMove(const TileMove* moves, int index, int forward) {
  const TileMove& move = moves[index];
  CBlock* tile = move.tile;
  const int direction = forward ? move.direction : Reverse(move.direction);
  int column = 0, row = 0;
  TileMoveTarget(direction, move.distance, tile->column, tile->row, &column, &row);
  UpdateTileGrid(tile, tile->column, tile->row, column, row);
  tile->column = column;
  tile->row = row;
}

void CTileBoard::UpdateTileGrid(CBlock* tile, int oldColumn, int oldRow, int newColumn,
                                int newRow) {
  const int index = owner_[oldColumn][oldRow];
  const int w = TileWidth(tile->shape);
  const int h = TileHeight(tile->shape);
  for (int x = 0; x < w; ++x) {
    for (int y = 0; y < h; ++y) FreeCell(oldColumn + x, oldRow + y);
  }
  for (int x = 0; x < w; ++x) {
    for (int y = 0; y < h; ++y) CoverCell(newColumn + x, newRow + y, index);
  }
}

int CTileBoard::ScoreTileMove(const TileMove* moves, int index) const {
  const TileMove& move = moves[index];
  const CBlock* tile = move.tile;
  int column = 0, row = 0;
  TileMoveTarget(move.direction, move.distance, tile->column, tile->row, &column, &row);
  auto fromHome = [tile](int c, int r) {
    return std::abs(c - tile->homeColumn) + std::abs(r - tile->homeRow);
  };
  const int before = fromHome(tile->column, tile->row);
  const int after = fromHome(column, row);
  return (after - before) * TileWidth(tile->shape) * TileHeight(tile->shape);
}

bool CTileBoard::Better(int total, int best, int mode) const {
  if (total == best) return (seams::Rand() & 1) != 0;
  return mode == kSearchMinimise ? total < best : total > best;
}

int CTileBoard::SearchTileMove(ScreenHost* host, const TileMove& last, int mode, int* score) {
  TileMove* first = moveLists_[0];
  TileMove* second = moveLists_[1];
  TileMove* third = moveLists_[2];
  TileMove* fourth = moveLists_[3];
  const int n0 = GenerateTileMoves(first);
  if (n0 == 0) return -1;
  if (n0 == 1) {
    *score = ScoreTileMove(first, 0);
    return 0;
  }
  int best = mode == kSearchMinimise ? 100 : 0;
  int chosen = 0;
  bool stop = false;
  for (int i = 0; i < n0 && !stop; ++i) {
    if (first[i].tile == last.tile && first[i].direction == Reverse(last.direction)) continue;
    const int s1 = ScoreTileMove(first, i);
    ApplyTileMove(first, i, 1);
    const int n1 = GenerateTileMoves(second);
    for (int j = 0; j < n1; ++j) {
      UpdateClockOverlay(host);
      if (seams::StopRequested()) {
        stop = true;
        break;
      }
      const int s2 = ScoreTileMove(second, j);
      ApplyTileMove(second, j, 1);
      const int n2 = GenerateTileMoves(third);
      for (int k = 0; k < n2; ++k) {
        const int total = s1 + s2 + ScoreTileMove(third, k);
        ApplyTileMove(third, k, 1);
        const int n3 = GenerateTileMoves(fourth);
        for (int m = 0; m < n3; ++m) {
          if (Better(total, best, mode)) {
            best = total;
            chosen = i;
          }
        }
        ApplyTileMove(third, k, 0);
      }
      ApplyTileMove(second, j, 0);
    }
    ApplyTileMove(first, i, 0);
  }
  *score = ScoreTileMove(first, chosen);
  return chosen;
}

bool IsFreeForLaying(const CTileBoard& board, int column, int row) {
  const bool inEmptyBlock = column >= board.Columns() - 2 && row >= board.Rows() - 2;
  return board.IsEmpty(column, row) && !inEmptyBlock;
}

int ChooseTileShape(const CTileBoard& board, int column, int row) {
  auto free = [&](int c, int r) { return IsFreeForLaying(board, c, r); };
  int shapes[4] = {kTile1x1};
  int count = 1;
  const bool wide = free(column + 1, row);
  const bool tall = free(column, row + 1);
  if (wide) shapes[count++] = kTile2x1;
  if (tall) shapes[count++] = kTile1x2;
  if (wide && tall && free(column + 1, row + 1)) shapes[count++] = kTile2x2;
  return count >= 2 ? shapes[seams::Rand() % count] : shapes[0];
}
