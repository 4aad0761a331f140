// The sliding tiles' move search (three moves looked ahead from every first move) in time per
// move on 8 x 6, 16 x 12 and 32 x 24 boards, each laid as the routine lays it and scrambled as the
// routine scrambles it. One slide of a cell at speed 50 takes about 0.2 s; the search must stay
// far below that.
#include <benchmark/benchmark.h>

#include "routines/TileBoard.h"
#include "seams/Random.h"

namespace {

// Tiles laid by the board's own laying rule, as the routine lays them.
void LayTiles(CTileBoard& board) {
  for (int r = 0; r < board.Rows(); ++r) {
    for (int c = 0; c < board.Columns(); ++c) {
      if (IsFreeForLaying(board, c, r)) {
        board.AddTile(new CBlock(c, r, ChooseTileShape(board, c, r), nullptr));
      }
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
BENCHMARK(BM_SearchTileMove)
    ->Args({8, 6})
    ->Args({16, 12})
    ->Args({32, 24})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
