// The sliding tiles' move search (three moves looked ahead from every first move) in time per
// move on 8 x 6, 16 x 12 and 32 x 24 boards, each laid as the routine lays it and scrambled as the
// routine scrambles it. One slide of a cell at speed 50 takes about 0.2 s; the search must stay
// far below that.
#include <benchmark/benchmark.h>

#include <vector>

#include "routines/TileBoard.h"
#include "seams/Random.h"

namespace {

// Tiles row by row, a random shape where the cells allow it, the 2 x 2 corner block left empty.
void LayTiles(CTileBoard& board) {
  auto open = [&](int c, int r) {
    return board.IsEmpty(c, r) && !(c >= board.Columns() - 2 && r >= board.Rows() - 2);
  };
  for (int r = 0; r < board.Rows(); ++r) {
    for (int c = 0; c < board.Columns(); ++c) {
      if (!open(c, r)) continue;
      std::vector<int> shapes = {kTile1x1};
      if (open(c + 1, r)) shapes.push_back(kTile2x1);
      if (open(c, r + 1)) shapes.push_back(kTile1x2);
      if (shapes.size() == 3 && open(c + 1, r + 1)) shapes.push_back(kTile2x2);
      board.AddTile(new CBlock(c, r, shapes[seams::Rand() % shapes.size()], nullptr));
    }
  }
}

void BM_SearchTileMove(benchmark::State& state) {
  seams::Srand(1996);
  CTileBoard board(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  LayTiles(board);
  TileMove last = {nullptr, -1, 0};
  int mode = kSearchMaximise;
  long moves = 0;
  for (auto _ : state) {
    int score = 0;
    const int index = board.SearchTileMove(nullptr, last, mode, &score);
    last = board.FirstLevelMoves()[index];
    board.ApplyTileMove(board.FirstLevelMoves(), index, 1);
    if (++moves % 40 == 0) mode = 1 - mode;  // the routine turns round now and then
  }
  state.SetItemsProcessed(moves);
}
BENCHMARK(BM_SearchTileMove)->Args({8, 6})->Args({16, 12})->Args({32, 24})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
