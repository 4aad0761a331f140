// The board of the sliding tiles: the tiles (CBlock), the grid of empty cells, the moves and the
// move search with its three-move look-ahead.
//
// The board is columns x rows square cells, column 0 at the left and row 0 at the top; tiles
// cover one cell, two side by side, two one above the other or a square of four. Four cells are
// always empty, and a move slides one tile as far as it can go in one direction.
//
// The search works in place: it applies moves on the board, looks at what follows and undoes
// them, so it allocates nothing. It keeps the clock overlay ticking as it goes, and a stop
// request ends it with every move it applied undone.
#pragma once

#include "framework/Object.h"

class CSprite;
class ScreenHost;

// Shapes, by their width x height in cells.
constexpr int kTile1x1 = 0;
constexpr int kTile2x1 = 1;
constexpr int kTile1x2 = 2;
constexpr int kTile2x2 = 3;
int TileWidth(int shape);
int TileHeight(int shape);

// Directions; the reverse of d is (d + 2) % 4.
constexpr int kMoveUp = 0;
constexpr int kMoveRight = 1;
constexpr int kMoveDown = 2;
constexpr int kMoveLeft = 3;

// One tile: where it is, where it belongs, its shape and the sprite that shows it.
class CBlock : public CObject {
  DECLARE_DYNCREATE(CBlock)
 public:
  CBlock() = default;
  // A tile at its home cell.
  CBlock(int homeCol, int homeRowIndex, int tileShape, CSprite* tileSprite)
      : column(homeCol),
        row(homeRowIndex),
        homeColumn(homeCol),
        homeRow(homeRowIndex),
        shape(tileShape),
        sprite(tileSprite) {}

  int column = 0;
  int row = 0;
  int homeColumn = 0;
  int homeRow = 0;
  int shape = kTile1x1;
  CSprite* sprite = nullptr;  // in the screen's sprite list, which owns it
};

// The cell `distance` cells from (fromColumn, fromRow) in the direction.
void TileMoveTarget(int direction, int distance, int fromColumn, int fromRow, int* toColumn,
                    int* toRow);

struct TileMove {
  CBlock* tile;
  int direction;
  int distance;  // cells
};

// Search modes.
constexpr int kSearchMinimise = 0;  // bring tiles home
constexpr int kSearchMaximise = 1;  // send tiles away

class CTileBoard {
 public:
  static constexpr int kGridSide = 37;  // 36 cells and the wall
  static constexpr int kMaxSide = kGridSide - 1;
  static constexpr int kMaxTiles = kMaxSide * kMaxSide;
  static constexpr int kMovesPerLevel = 20;
  static constexpr int kSearchLevels = 4;  // the move and three looked ahead

  // An empty board of columns x rows cells (2..36 each), every cell free.
  CTileBoard(int columns, int rows);
  // Deletes every tile (not their sprites).
  ~CTileBoard();
  CTileBoard(const CTileBoard&) = delete;
  CTileBoard& operator=(const CTileBoard&) = delete;

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  int TileCount() const { return tileCount_; }
  CBlock* Tile(int i) const { return tiles_[i]; }

  // Takes the tile over and covers its cells; 0, changing nothing, when the board is full of
  // tiles or a cell of it lies outside the board or is covered already.
  BOOL AddTile(CBlock* tile);
  // True when the cell lies on the board and no tile covers it.
  bool IsEmpty(int column, int row) const;
  // The empty cells of the board, counted cell by cell.
  int CountEmptyCells() const;

  // How many cells the tile of this shape at (column, row) can slide in the direction: 0 unless
  // every cell along its side facing that way is empty; a move slides as far as it can go.
  int TileSlideDistance(int shape, int column, int row, int direction) const;
  // Every move of every tile, in tile order and direction order, at most kMovesPerLevel.
  int GenerateTileMoves(TileMove* moves) const;
  // Moves the tile forward along its direction, or back along the reverse.
  void ApplyTileMove(const TileMove* moves, int index, int forward);
  // Frees the tile's cells at the old place and covers them at the new one.
  void UpdateTileGrid(CBlock* tile, int oldColumn, int oldRow, int newColumn, int newRow);
  // The change of the tile's distance from home, times its cell count: negative brings it home.
  int ScoreTileMove(const TileMove* moves, int index) const;
  // The move chosen with a three-move look-ahead: in mode kSearchMinimise the smallest total
  // score, in kSearchMaximise the largest, ties broken by the random generator; never the
  // reverse of `last` unless it is the only move. Returns its index in the first level's list
  // (FirstLevelMoves()) and writes its own score; index 0 when nothing qualifies.
  int SearchTileMove(ScreenHost* host, const TileMove& last, int mode, int* score);
  const TileMove* FirstLevelMoves() const { return moveLists_[0]; }

 private:
  struct Cell {
    int column, row;
  };
  int TileIndexAt(int column, int row) const { return owner_[column][row]; }
  void CoverCell(int column, int row, int tileIndex);
  void FreeCell(int column, int row);
  // The total of the best line of play below a first move, compared as the mode says.
  bool Better(int total, int best, int mode) const;

  int columns_;
  int rows_;
  int tileCount_ = 0;
  CBlock* tiles_[kMaxTiles] = {};
  // Indexed [column][row]: 1 an empty cell, 0 a covered one or the wall (column `columns_`, row
  // `rows_`).
  int grid_[kGridSide][kGridSide] = {};
  int owner_[kGridSide][kGridSide];  // index of the covering tile, -1 for none
  // The empty cells, kept with the grid so that the moves are found from them.
  Cell empty_[kGridSide * kGridSide];
  int emptyCount_ = 0;
  TileMove moveLists_[kSearchLevels][kMovesPerLevel] = {};
};

// Laying the tiles at the start: a cell is free for a tile when no tile covers it and it lies
// outside the block of four cells in the bottom right corner, which starts empty.
bool IsFreeForLaying(const CTileBoard& board, int column, int row);
// The shape of the tile whose top-left cell is (column, row): one cell, or, where the cells
// beside and below are free for laying, two or four, chosen at random.
int ChooseTileShape(const CTileBoard& board, int column, int row);
