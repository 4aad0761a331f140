// The board of the sliding tiles: the cells stay exactly the complement of the tiles through any
// sequence of moves, the move lists are what a walk over every tile gives (never more than 20),
// and the search keeps its rules: the reverse of the last move only when nothing else exists, the
// board untouched by a search, and a stop in the middle of one undoing what it tried.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "routines/TileBoard.h"
#include "seams/Clock.h"
#include "seams/Random.h"

namespace {

using Cell = std::pair<int, int>;

// The cells no tile covers, worked out from the tiles alone.
std::set<Cell> UncoveredCells(const CTileBoard& board) {
  std::set<Cell> free;
  for (int c = 0; c < board.Columns(); ++c)
    for (int r = 0; r < board.Rows(); ++r) free.insert({c, r});
  for (int i = 0; i < board.TileCount(); ++i) {
    const CBlock* t = board.Tile(i);
    for (int x = 0; x < TileWidth(t->shape); ++x)
      for (int y = 0; y < TileHeight(t->shape); ++y) free.erase({t->column + x, t->row + y});
  }
  return free;
}

std::set<Cell> EmptyCells(const CTileBoard& board) {
  std::set<Cell> empty;
  for (int c = 0; c < board.Columns(); ++c)
    for (int r = 0; r < board.Rows(); ++r)
      if (board.IsEmpty(c, r)) empty.insert({c, r});
  return empty;
}

// The moves of a walk over every tile and direction, without a limit.
std::vector<TileMove> AllMoves(const CTileBoard& board) {
  std::vector<TileMove> moves;
  for (int i = 0; i < board.TileCount(); ++i) {
    CBlock* t = board.Tile(i);
    for (int d = 0; d < 4; ++d) {
      const int n = board.TileSlideDistance(t->shape, t->column, t->row, d);
      if (n > 0) moves.push_back({t, d, n});
    }
  }
  return moves;
}

// Tiles laid as the routine lays them, by the board's own laying rule.
void LayTiles(CTileBoard& board, unsigned seed) {
  seams::Srand(seed);
  for (int r = 0; r < board.Rows(); ++r) {
    for (int c = 0; c < board.Columns(); ++c) {
      if (!IsFreeForLaying(board, c, r)) continue;
      ASSERT_EQ(board.AddTile(new CBlock(c, r, ChooseTileShape(board, c, r), nullptr)), 1);
    }
  }
}

bool SameMove(const TileMove& a, const TileMove& b) {
  return a.tile == b.tile && a.direction == b.direction && a.distance == b.distance;
}

TEST(TileBoardTest, CellsStayTheComplementOfTheTilesAndMovesMatchAWalkOverEveryTile) {
  const struct {
    int columns, rows;
    unsigned seed;
  } boards[] = {{3, 3, 1}, {8, 6, 2}, {16, 12, 3}, {36, 36, 4}, {2, 5, 5}};
  for (const auto& b : boards) {
    SCOPED_TRACE(testing::Message() << b.columns << " x " << b.rows);
    CTileBoard board(b.columns, b.rows);
    LayTiles(board, b.seed);
    seams::Srand(b.seed * 7);
    for (int step = 0; step < 400; ++step) {
      ASSERT_EQ(EmptyCells(board), UncoveredCells(board)) << "step " << step;
      ASSERT_EQ(board.CountEmptyCells(), 4) << "step " << step;
      const std::vector<TileMove> all = AllMoves(board);
      TileMove moves[CTileBoard::kMovesPerLevel];
      const int n = board.GenerateTileMoves(moves);
      ASSERT_EQ(n, static_cast<int>(std::min<size_t>(all.size(), CTileBoard::kMovesPerLevel)));
      for (int i = 0; i < n; ++i) ASSERT_TRUE(SameMove(moves[i], all[i])) << "move " << i;
      ASSERT_GT(n, 0);
      board.ApplyTileMove(moves, seams::Rand() % n, 1);
    }
  }
}

TEST(TileBoardTest, ForwardThenBackwardPutsTheTileBack) {
  CTileBoard board(6, 5);
  LayTiles(board, 11);
  TileMove moves[CTileBoard::kMovesPerLevel];
  const int n = board.GenerateTileMoves(moves);
  for (int i = 0; i < n; ++i) {
    const CBlock before = *moves[i].tile;
    const std::set<Cell> empty = EmptyCells(board);
    board.ApplyTileMove(moves, i, 1);
    EXPECT_NE(moves[i].tile->column * 100 + moves[i].tile->row, before.column * 100 + before.row);
    board.ApplyTileMove(moves, i, 0);
    EXPECT_EQ(moves[i].tile->column, before.column);
    EXPECT_EQ(moves[i].tile->row, before.row);
    EXPECT_EQ(EmptyCells(board), empty);
  }
}

TEST(TileBoardTest, SlidesGoAsFarAsTheyCanAndScoresCountCells) {
  // 4 x 3 board: a 2 x 2 tile at (0, 0) away from its home (2, 1), a 1 x 1 tile at (0, 2); the
  // cells right of the square and (1..3, 2) are empty.
  CTileBoard board(4, 3);
  auto* square = new CBlock(0, 0, kTile2x2, nullptr);
  auto* single = new CBlock(0, 2, kTile1x1, nullptr);
  ASSERT_EQ(board.AddTile(square), 1);
  ASSERT_EQ(board.AddTile(single), 1);
  CBlock onTop(0, 2, kTile1x1, nullptr);
  EXPECT_EQ(board.AddTile(&onTop), 0) << "a covered cell";
  square->homeColumn = 2;
  square->homeRow = 1;
  EXPECT_EQ(board.TileSlideDistance(kTile2x2, 0, 0, kMoveRight), 2);
  EXPECT_EQ(board.TileSlideDistance(kTile2x2, 0, 0, kMoveDown), 0) << "the single is below";
  EXPECT_EQ(board.TileSlideDistance(kTile2x2, 0, 0, kMoveUp), 0) << "the top edge";
  EXPECT_EQ(board.TileSlideDistance(kTile1x1, 0, 2, kMoveRight), 3) << "up to the wall";
  const TileMove right[1] = {{square, kMoveRight, 2}};
  EXPECT_EQ(board.ScoreTileMove(right, 0), -2 * 4) << "two cells nearer home, four cells big";
  const TileMove along[1] = {{single, kMoveRight, 3}};
  EXPECT_EQ(board.ScoreTileMove(along, 0), 3);
}

TEST(TileBoardTest, MoveListsStopAtTwentyMoves) {
  // Single tiles on every other cell of a 12 x 12 board: far more than 20 moves.
  CTileBoard board(12, 12);
  for (int c = 0; c < 12; c += 2)
    for (int r = 0; r < 12; r += 2)
      ASSERT_EQ(board.AddTile(new CBlock(c, r, kTile1x1, nullptr)), 1);
  ASSERT_GT(AllMoves(board).size(), 20u);
  TileMove moves[CTileBoard::kMovesPerLevel + 3];
  const TileMove untouched = {nullptr, 77, 77};
  for (TileMove& m : moves) m = untouched;
  EXPECT_EQ(board.GenerateTileMoves(moves), CTileBoard::kMovesPerLevel);
  for (int i = CTileBoard::kMovesPerLevel; i < CTileBoard::kMovesPerLevel + 3; ++i) {
    EXPECT_TRUE(SameMove(moves[i], untouched)) << "written past the list at " << i;
  }
}

// A 2 x 3 board with two wide tiles and the bottom row empty: only the lower tile can move, down.
struct OneMoveBoard {
  CTileBoard board{2, 3};
  CBlock* top = new CBlock(0, 0, kTile2x1, nullptr);
  CBlock* lower = new CBlock(0, 1, kTile2x1, nullptr);
  OneMoveBoard() {
    board.AddTile(top);
    board.AddTile(lower);
  }
};

TEST(TileBoardTest, TheOnlyMoveIsTakenEvenWhenItReversesTheLast) {
  for (int mode : {kSearchMinimise, kSearchMaximise}) {
    OneMoveBoard b;
    const TileMove last = {b.lower, kMoveUp, 1};  // the lower tile has just come up
    int score = 99;
    ASSERT_EQ(b.board.SearchTileMove(nullptr, last, mode, &score), 0);
    const TileMove chosen = b.board.FirstLevelMoves()[0];
    EXPECT_EQ(chosen.tile, b.lower);
    EXPECT_EQ(chosen.direction, kMoveDown);
    EXPECT_EQ(score, 2) << "one cell from home, two cells big";
  }
}

TEST(TileBoardTest, SearchNeverReversesTheLastMoveWhenThereIsAnotherAndLeavesTheBoard) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    CTileBoard board(5, 4);
    LayTiles(board, seed);
    TileMove last = {nullptr, -1, 0};
    int mode = kSearchMaximise;
    for (int step = 0; step < 30; ++step) {
      std::vector<Cell> places;
      for (int i = 0; i < board.TileCount(); ++i)
        places.push_back({board.Tile(i)->column, board.Tile(i)->row});
      int score = 0;
      const int index = board.SearchTileMove(nullptr, last, mode, &score);
      for (int i = 0; i < board.TileCount(); ++i) {
        ASSERT_EQ(places[i], Cell(board.Tile(i)->column, board.Tile(i)->row)) << "search moved";
      }
      ASSERT_GE(index, 0);
      const TileMove move = board.FirstLevelMoves()[index];
      EXPECT_EQ(score, board.ScoreTileMove(board.FirstLevelMoves(), index));
      TileMove moves[CTileBoard::kMovesPerLevel];
      if (board.GenerateTileMoves(moves) > 1) {
        EXPECT_FALSE(move.tile == last.tile && move.direction == (last.direction + 2) % 4)
            << "seed " << seed << " step " << step;
      }
      board.ApplyTileMove(board.FirstLevelMoves(), index, 1);
      last = move;
      if (step == 15) mode = kSearchMinimise;
    }
  }
}

TEST(TileBoardTest, AStopInsideTheSearchUndoesTheMovesItTried) {
  CTileBoard board(8, 6);
  LayTiles(board, 3);
  std::vector<Cell> places;
  for (int i = 0; i < board.TileCount(); ++i)
    places.push_back({board.Tile(i)->column, board.Tile(i)->row});
  const std::set<Cell> empty = EmptyCells(board);
  seams::RequestStop();
  int score = 0;
  board.SearchTileMove(nullptr, TileMove{nullptr, -1, 0}, kSearchMaximise, &score);
  seams::ClearStop();
  for (int i = 0; i < board.TileCount(); ++i) {
    EXPECT_EQ(places[i], Cell(board.Tile(i)->column, board.Tile(i)->row)) << "tile " << i;
  }
  EXPECT_EQ(EmptyCells(board), empty);
}

}  // namespace
