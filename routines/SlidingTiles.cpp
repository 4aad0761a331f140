#include "routines/SlidingTiles.h"

#include <memory>
#include <new>

#include "framework/Geometry.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/ScreenCompose.h"
#include "imaging/ScreenHost.h"
#include "imaging/Sprite.h"
#include "imaging/SpriteList.h"
#include "imaging/SpriteMoves.h"
#include "imaging/TileSize.h"
#include "routines/RoutineFrame.h"
#include "routines/TileBoard.h"
#include "seams/Clock.h"
#include "seams/Random.h"

namespace {

const RoutineErrorMessage kTileErrors[] = {
    {kTilesOutOfMemory, "System has run out of memory"},
    {kTilesTooManyMoves, "Too many moves - will run out of space"},
    {kTilesBadDirection, "Incorrect move - bad direction selected"},
    {kTilesBadDistance, "Incorrect move - bad distance selected"},
    {kTilesNotFourEmpty, "Incorrect move - no longer 4 blank spaces"},
    {kTilesNoTileSize, "Unable to generate good tile size"},
    {kTilesNoPalette, "Unable to generate palette in set-up"},
    {kTilesNoSprite, "Unable to generate tile sprite"},
};

constexpr int kMoveHistorySize = 1000;
constexpr int kEmptyCells = 4;
constexpr int kOutlineIndex = 6;
constexpr int kTileZ = 50;
constexpr int kStallLimit = 5;  // scores that bring no new extreme before the search turns round

// One run of the routine: the board, where it lies on the screen, and the search's course,
// which carries over from one cycle to the next.
struct TileRun {
  ScreenHost* host = nullptr;
  CTileBoard* board = nullptr;
  CRect rect;
  int size = 0;  // pixels per cell
  int rate = 0;  // pixels per second
  int mode = kSearchMaximise;
  int sum = 0;
  int maximum = 0;
  int minimum = 0;
  int stall = 0;
  int switchSum[2] = {0, 0};  // the sum at the last turn to each mode
  TileMove last = {nullptr, -1, 0};
  TileMove history[kMoveHistorySize] = {};
};

CSprite* CreateTileSprite(ScreenHost* host, CColorPalette* palette, int w, int h, int x, int y,
                          int outlineFlag) {
  std::unique_ptr<CSprite> sprite(new (std::nothrow) CSprite);
  if (!sprite || !sprite->Create(w, h, palette)) return nullptr;
  host->GetBackground()->CopyBits(sprite.get(), 0, 0, w, h, x, y, -1);
  sprite->SetTransparent(0);
  sprite->SetPosition(x, y);
  sprite->SetZ(kTileZ);
  if (outlineFlag) DrawTileOutline(sprite.get(), kOutlineIndex);
  try {
    host->GetSprites()->Insert(sprite.get());
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return sprite.release();
}

// Cuts the board's picture into tiles, then lets the empty cells show the screen background.
// 0, or the error code.
int SetUpSlidingTiles(TileRun& run, CDIB* screenBackground, int outlineFlag) {
  seams::Srand(static_cast<uint32_t>(seams::WallSeconds()));
  CDIB* background = run.host->GetBackground();
  CColorPalette palette;
  if (!palette.CreateFromDIB(background)) return kTilesNoPalette;
  CTileBoard& board = *run.board;
  for (int row = 0; row < board.Rows(); ++row) {
    for (int column = 0; column < board.Columns(); ++column) {
      if (!IsFreeForLaying(board, column, row)) continue;
      const int shape = ChooseTileShape(board, column, row);
      const int x = run.rect.left + column * run.size;
      const int y = run.rect.top + row * run.size;
      CSprite* sprite = CreateTileSprite(run.host, &palette, TileWidth(shape) * run.size,
                                         TileHeight(shape) * run.size, x, y, outlineFlag);
      if (!sprite) return kTilesNoSprite;
      CBlock* tile = new (std::nothrow) CBlock(column, row, shape, sprite);
      if (!tile) return kTilesOutOfMemory;
      if (!board.AddTile(tile)) {  // cannot happen: the cells were checked free above
        delete tile;
        return kTilesNoSprite;
      }
    }
  }
  const int w = run.rect.Width();
  const int h = run.rect.Height();
  if (screenBackground) {
    CopyByColour(*screenBackground, background, run.rect.left, run.rect.top, w, h, run.rect.left,
                 run.rect.top);
  } else {
    for (int y = run.rect.top; y < run.rect.bottom; ++y) {
      for (int x = run.rect.left; x < run.rect.right; ++x) {
        *background->GetPixelAddress(x, y) = static_cast<BYTE>(run.host->GetReservedEntries());
      }
    }
  }
  run.host->RenderRect(&run.rect);
  run.host->ShowRect(&run.rect);
  return 0;
}

// Slides the move's tile on the screen and on the board (backward: the reverse direction).
// 0, or the error code of a bad move or a board that lost its empty cells.
int SlideTile(TileRun& run, const TileMove& move, bool forward) {
  if (move.direction < 0 || move.direction > 3) return kTilesBadDirection;
  if (move.distance < 1) return kTilesBadDistance;
  CBlock* tile = move.tile;
  const int direction = forward ? move.direction : (move.direction + 2) % 4;
  int column = 0, row = 0;
  TileMoveTarget(direction, move.distance, tile->column, tile->row, &column, &row);
  const POINT target = {run.rect.left + column * run.size, run.rect.top + row * run.size};
  SlideSpriteTimed(run.host, tile->sprite, &target, run.rate);
  run.board->UpdateTileGrid(tile, tile->column, tile->row, column, row);
  tile->column = column;
  tile->row = row;
  return run.board->CountEmptyCells() == kEmptyCells ? 0 : kTilesNotFourEmpty;
}

// Adds the move's score to the running sum and turns the search round when the sum has found no
// new extreme for a while. True when the pass should end with this move: the sum came back to
// where the last turn the same way happened, so the search is going in circles.
bool FollowScore(TileRun& run, int score) {
  run.sum += score;
  const bool extreme = run.mode == kSearchMinimise ? run.sum < run.minimum : run.sum > run.maximum;
  if (extreme) {
    (run.mode == kSearchMinimise ? run.minimum : run.maximum) = run.sum;
    run.stall = 0;
  } else {
    ++run.stall;
  }
  if (run.stall <= kStallLimit) return false;
  run.mode = run.mode == kSearchMinimise ? kSearchMaximise : kSearchMinimise;
  (run.mode == kSearchMinimise ? run.minimum : run.maximum) = run.sum;
  const bool circling = run.sum == run.switchSum[run.mode];
  run.switchSum[run.mode] = run.sum;
  run.stall = 0;
  return circling;
}

// Up to n searched moves, each recorded and slid; ends early at half the run time, when the
// search goes in circles, has no move, or a stop is requested. 0 or the error code; the moves
// made in *made.
int ScramblePass(TileRun& run, CRoutineFrame& frame, int n, int runSeconds, int* made) {
  *made = 0;
  for (int i = 0; i < n; ++i) {
    seams::Idle();
    if (seams::StopRequested()) return 0;
    int score = 0;
    const int index = run.board->SearchTileMove(run.host, run.last, run.mode, &score);
    if (index < 0 || seams::StopRequested()) return 0;  // the search undid what it tried
    const TileMove move = run.board->FirstLevelMoves()[index];
    const bool lastOfPass = FollowScore(run, score);
    run.history[i] = move;
    run.last = move;
    *made = i + 1;
    if (const int error = SlideTile(run, move, true)) return error;
    if (lastOfPass) return 0;
    if (runSeconds > 0 && frame.ElapsedSeconds() > runSeconds / 2) return 0;
  }
  return 0;
}

// The moves made, replayed backwards from the last. 0 or the error code.
int UnscramblePass(TileRun& run, int made) {
  for (int i = made - 1; i >= 0; --i) {
    seams::Idle();
    if (seams::StopRequested()) return 0;
    if (const int error = SlideTile(run, run.history[i], false)) return error;
  }
  return 0;
}

// One cycle: scramble, then unscramble. 0 or the error code.
int RunCycle(TileRun& run, CRoutineFrame& frame, int runSeconds) {
  const int n = 500 + seams::Rand() % 499;
  if (n > kMoveHistorySize) return kTilesTooManyMoves;
  int made = 0;
  if (const int error = ScramblePass(run, frame, n, runSeconds, &made)) return error;
  return UnscramblePass(run, made);
}

// What the routine makes, kept alive until the frame's end steps have given the board its
// picture back.
struct TileRoutine {
  std::unique_ptr<TileRun> run;
  std::unique_ptr<CTileBoard> board;
  std::unique_ptr<CDIB> picture;  // the board's picture as it was at the start
};

// Chooses the board on the screen's background: 0, or the error code. *tooSmall when the area
// gives fewer than 9 cells (or fewer than 2 along a side).
int ChooseBoard(TileRun& run, CDIB* background, const RECT* area, int res, bool* tooSmall) {
  // The board lies on the screen's background, wherever the caller's area reaches past it.
  RECT rect = CRect(*area) & CRect(0, 0, background->GetWidth(), background->GetHeight());
  if (!ChooseTileSizeInRect(&rect, ClampRoutinePercent(res), 1, 0, &run.size)) {
    return kTilesNoTileSize;
  }
  run.rect = CRect(rect);
  const int columns = run.rect.Width() / run.size;
  const int rows = run.rect.Height() / run.size;
  if (columns > CTileBoard::kMaxSide || rows > CTileBoard::kMaxSide) return kTilesNoTileSize;
  *tooSmall = columns < 2 || rows < 2 || columns * rows < 9;
  return 0;
}

// Keeps the board's picture and makes the board, and has the frame give the picture back at
// the end. 0, or the error code.
int PrepareBoard(TileRoutine& made, CRoutineFrame& frame, CDIB* background) {
  TileRun& run = *made.run;
  made.picture.reset(new (std::nothrow) CDIB);
  if (!made.picture || !made.picture->Create(run.rect.Width(), run.rect.Height(), nullptr)) {
    return kTilesOutOfMemory;
  }
  background->CopyBits(made.picture.get(), 0, 0, run.rect.Width(), run.rect.Height(), run.rect.left,
                       run.rect.top, -1);
  made.board.reset(new (std::nothrow)
                       CTileBoard(run.rect.Width() / run.size, run.rect.Height() / run.size));
  if (!made.board) return kTilesOutOfMemory;
  run.board = made.board.get();
  frame.SetOwnEndSteps([&made, background] {
    made.board.reset();
    const CRect r = made.run->rect;
    made.picture->CopyBits(background, r.left, r.top, r.Width(), r.Height(), 0, 0, -1);
    made.run->host->RenderRect(&r);
    made.run->host->ShowRect(&r);
  });
  return 0;
}

struct TileArguments {
  ScreenHost* host;
  CDIB* screenBackground;
  const RECT* area;
  int bInfiniteOn, bClockOn, bSoundOn, Speed, Res, Volume, outlineFlag, RunSeconds;
};

int RunTiles(CRoutineFrame& frame, TileRoutine& made, const TileArguments& args) {
  CDIB* background = args.host ? args.host->GetBackground() : nullptr;
  if (!background || !args.area) return frame.Fail(kTilesNoTileSize);
  made.run.reset(new (std::nothrow) TileRun);
  if (!made.run) return frame.Fail(kTilesOutOfMemory);
  TileRun& run = *made.run;
  run.host = args.host;
  run.rate = (106 - ClampRoutinePercent(args.Speed)) * 10;
  bool tooSmall = false;
  if (const int error = ChooseBoard(run, background, args.area, args.Res, &tooSmall)) {
    return frame.Fail(error);
  }
  if (tooSmall) {
    frame.EndTraceWith("2D Sliding Blocks - end not enough blocks to actually run the routine\n\n");
    return 1;
  }
  if (const int error = PrepareBoard(made, frame, background)) return frame.Fail(error);
  if (const int error = SetUpSlidingTiles(run, args.screenBackground, args.outlineFlag)) {
    return frame.Fail(error);
  }
  if (!frame.StartSceneAndClock(0, args.bClockOn)) return frame.Fail(kTilesOutOfMemory);
  frame.StartSounds(args.bSoundOn, args.Volume, nullptr, 0);  // the flag only: the tiles are silent
  frame.StartTime();
  do {
    seams::Idle();
    if (const int error = RunCycle(run, frame, args.RunSeconds)) return frame.Fail(error);
  } while (args.bInfiniteOn && !seams::StopRequested());
  return 1;
}

}  // namespace

void GetSlidingTilesErrorText(int code, CString* text) {
  FormatRoutineErrorText("2D Sliding Tiles Error Message: ", kTileErrors, "Unrecognized error",
                         code, text);
}

void DrawTileOutline(CDIB* sprite, int colourIndex) {
  const int w = sprite->GetWidth();
  const int h = sprite->GetHeight();
  const BYTE c = static_cast<BYTE>(colourIndex);
  for (int x = 0; x < w; ++x) {
    *sprite->GetPixelAddress(x, 0) = c;
    *sprite->GetPixelAddress(x, h - 1) = c;
  }
  for (int y = 0; y < h; ++y) {
    *sprite->GetPixelAddress(0, y) = c;
    *sprite->GetPixelAddress(w - 1, y) = c;
  }
}

int RunSlidingBlocks(ScreenHost* pScreenDoc, CDIB* screenBackground, const RECT* area,
                     int bInfiniteOn, int bClockOn, int bSoundOn, int Speed, int Res, int Volume,
                     int bSpare, int outlineFlag, int bLogoOn, int RunSeconds, int traceFlag,
                     CString* errorText) {
  TileRoutine made;  // outlives the frame's end steps
  CRoutineFrame frame(pScreenDoc, "2D Sliding Blocks", GetSlidingTilesErrorText, traceFlag,
                      errorText);
  return frame.Run(
      {bInfiniteOn, bClockOn, bSoundOn, Speed, Res, Volume, bSpare, bLogoOn, RunSeconds},
      kTilesOutOfMemory, [&] {
        return RunTiles(frame, made,
                        TileArguments{pScreenDoc, screenBackground, area, bInfiniteOn, bClockOn,
                                      bSoundOn, Speed, Res, Volume, outlineFlag, RunSeconds});
      });
}
