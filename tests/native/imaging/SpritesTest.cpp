// Sprites, the sprite list and its observer, and the dirty-rectangle list.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CompositionSupport.h"
#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "framework/Gdi.h"
#include "imaging/DirtyRectList.h"
#include "imaging/Sprite.h"
#include "imaging/SpriteList.h"
#include "tests/native/framework/TempPath.h"

using comptest::NewSprite;
using comptest::PixelAt;
using comptest::RecordingSink;

namespace {

struct Change {
  CSprite* sprite;
  int flags;
  CRect oldRect;
  bool hasNew;
  CRect newRect;
};

class RecordingObserver : public CSpriteObserver {
 public:
  void OnSpriteChanged(CSprite* sprite, int flags, const CRect* oldRect,
                       const CRect* newRect) override {
    changes.push_back({sprite, flags, oldRect ? *oldRect : CRect(), newRect != nullptr,
                       newRect ? *newRect : CRect()});
  }
  std::vector<Change> changes;
};

CRect RectOf(const CDIB& dib) {
  CRect r;
  dib.GetRect(&r);
  return r;
}

std::vector<CSprite*> Order(const CSpriteList& list) {
  std::vector<CSprite*> out;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    out.push_back(static_cast<CSprite*>(list.GetNext(pos)));
  }
  return out;
}

// A 3 x 2 sprite whose top-left pixel (index 0) is its transparent colour.
CSprite* SmallSprite(int x, int y, int z) { return NewSprite({{0, 5, 6}, {7, 0, 8}}, x, y, z); }

class SpriteListTest : public ::testing::Test {
 protected:
  ~SpriteListTest() override { list.DeleteAll(); }
  CSpriteList list;
  RecordingSink sink;
};

TEST_F(SpriteListTest, InsertSortsByDepthNewestFirstAmongEquals) {
  CSprite* first50 = SmallSprite(0, 0, 50);
  CSprite* at10 = SmallSprite(0, 0, 10);
  CSprite* second50 = SmallSprite(0, 0, 50);
  CSprite* at90 = SmallSprite(0, 0, 90);
  for (CSprite* s : {first50, at10, second50, at90}) EXPECT_TRUE(list.Insert(s));
  EXPECT_EQ(Order(list), (std::vector<CSprite*>{at10, second50, first50, at90}));
  EXPECT_EQ(at90->GetObserver(), list.GetObserver());
}

TEST_F(SpriteListTest, DepthChangesReSortThroughTheObserverAndUnchangedDepthIsSilent) {
  CSprite* a = SmallSprite(1, 1, 10);
  CSprite* b = SmallSprite(20, 1, 50);
  CSprite* c = SmallSprite(40, 1, 90);
  for (CSprite* s : {a, b, c}) list.Insert(s);
  list.GetObserver()->SetView(&sink);

  b->SetZ(50);
  EXPECT_EQ(Order(list), (std::vector<CSprite*>{a, b, c}));
  EXPECT_TRUE(sink.rects.empty()) << "an unchanged depth must not notify";

  b->SetZ(95);
  EXPECT_EQ(Order(list), (std::vector<CSprite*>{a, c, b}));
  b->SetZ(10);  // before the sprite already at 10: the newest of equals comes first
  EXPECT_EQ(Order(list), (std::vector<CSprite*>{b, a, c}));
  EXPECT_EQ(sink.rects, (std::vector<CRect>{CRect(20, 1, 23, 3), CRect(20, 1, 23, 3)}));
}

TEST_F(SpriteListTest, ObserverReportsRectanglesByFlag) {
  CSprite* s = SmallSprite(10, 20, 50);
  list.Insert(s);
  s->SetPosition(11, 20);  // no view yet: dropped
  list.GetObserver()->SetView(&sink);

  const CRect r1(10, 20, 13, 22), r2(11, 20, 14, 22), r3(0, 0, 1, 1);
  s->SetPosition(11, 20);  // the same position still notifies
  EXPECT_EQ(sink.rects, (std::vector<CRect>{r2, r2}));
  sink.rects.clear();
  list.GetObserver()->OnSpriteChanged(s, CSpriteObserver::kChangedInPlace, &r1, nullptr);
  EXPECT_EQ(sink.rects, (std::vector<CRect>{r1}));
  sink.rects.clear();
  list.GetObserver()->OnSpriteChanged(
      s, CSpriteObserver::kZChanged | CSpriteObserver::kMoved | CSpriteObserver::kChangedInPlace,
      &r1, &r3);
  EXPECT_EQ(sink.rects, (std::vector<CRect>{r1, r1, r3, r1}));
}

TEST(SpriteTest, ChangesReachTheObserverWithTheirRectangles) {
  std::unique_ptr<CSprite> s(SmallSprite(4, 5, 50));
  RecordingObserver observer;
  s->SetObserver(&observer);
  s->SetPosition(6, 7);
  s->SetZ(50);
  s->SetZ(20);
  s->SetTransparent(0);
  s->SetTransparentIndex(3);
  ASSERT_EQ(observer.changes.size(), 2u) << "unchanged depth and transparency are silent";
  EXPECT_EQ(observer.changes[0].flags, CSpriteObserver::kMoved);
  EXPECT_EQ(observer.changes[0].oldRect, CRect(4, 5, 7, 7));
  EXPECT_EQ(observer.changes[0].newRect, CRect(6, 7, 9, 9));
  EXPECT_EQ(observer.changes[1].flags, CSpriteObserver::kZChanged);
  EXPECT_EQ(observer.changes[1].oldRect, CRect(6, 7, 9, 9));
  EXPECT_FALSE(observer.changes[1].hasNew);
  EXPECT_EQ(s->GetZ(), 20);
}

TEST(SpriteTest, HitTestIsStrictOnEveryEdgeAndSkipsTransparentPixels) {
  // 3 x 2 at (10, 20): rows {0, 5, 6} and {7, 0, 8}; only x 11..12 and y 21 are strictly inside.
  std::unique_ptr<CSprite> s(SmallSprite(10, 20, 50));
  struct Case {
    int x, y;
    BOOL transparentHit, opaqueHit;
  };
  const Case cases[] = {
      {10, 21, 0, 0},  // left edge
      {11, 20, 0, 0},  // top edge
      {12, 21, 1, 1},  // pixel (2, 1) is 8: drawn
      {11, 21, 0, 1},  // pixel (1, 1) is 0, the transparent index
      {13, 21, 0, 0},  // right edge: x + width
      {12, 22, 0, 0},  // bottom edge
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
    s->SetTransparent(1);
    EXPECT_EQ(s->HitTest(c.x, c.y), c.transparentHit);
    s->SetTransparent(0);
    EXPECT_EQ(s->HitTest(c.x, c.y), c.opaqueHit);
  }
}

TEST_F(SpriteListTest, HitTestFindsTheNearestSpriteHit) {
  CSprite* back = NewSprite({{0, 1, 1}, {1, 1, 1}, {1, 1, 1}}, 0, 0, 90);
  CSprite* front = NewSprite({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, 0, 0, 10);  // all transparent
  list.Insert(back);
  list.Insert(front);
  EXPECT_EQ(list.HitTest(1, 1), back) << "a transparent pixel lets the hit through";
  front->SetTransparent(0);
  EXPECT_EQ(list.HitTest(1, 1), front);
  EXPECT_EQ(list.HitTest(0, 0), nullptr);
}

TEST(SpriteTest, TransparentIndexIsTakenAgainAfterMapping) {
  std::unique_ptr<CSprite> s(SmallSprite(0, 0, 50));
  s->header->bmiColors[0] = RGBQUAD{0, 0, 255, 0};  // the corner's colour: red
  s->TakeTransparentIndex();
  ASSERT_EQ(s->GetTransparentIndex(), 0);

  std::vector<PALETTEENTRY> entries(8, PALETTEENTRY{0, 0, 0, 0});
  entries[7] = PALETTEENTRY{255, 0, 0, 0};
  std::vector<BYTE> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(entries.size());
  std::copy(entries.begin(), entries.end(), log->palPalEntry);
  CPalette palette;
  ASSERT_TRUE(palette.CreatePalette(log));

  s->MapColorsToPalette(&palette);
  EXPECT_EQ(PixelAt(*s, 0, 0), 7);
  EXPECT_EQ(s->GetTransparentIndex(), 7);
}

TEST(SpriteTest, LoadingTakesTheTransparentIndexFromTheTopLeftPixel) {
  CDIB picture;
  comptest::Fill(picture, 4, 3, 2);
  *picture.GetPixelAddress(0, 0) = 9;
  TempPath path(".bmp");
  ASSERT_TRUE(picture.Save(path.c_str()));

  CSprite byName;
  ASSERT_TRUE(byName.Load(path.c_str()));
  EXPECT_EQ(byName.GetTransparentIndex(), 9);
  CSprite byFile;
  CFile file(path.c_str(), CFile::modeRead);
  ASSERT_TRUE(byFile.LoadFromFile(&file));
  EXPECT_EQ(byFile.GetTransparentIndex(), 9);

  CSprite missing;
  missing.SetTransparentIndex(4);
  EXPECT_FALSE(missing.Load((path.str() + ".none").c_str()));
  EXPECT_EQ(missing.GetTransparentIndex(), 4);
}

TEST(SpriteTest, RenderCopiesWithinClipAndTargetSkippingTransparentPixels) {
  CDIB target;
  comptest::Fill(target, 6, 4, 1);
  std::unique_ptr<CSprite> s(SmallSprite(2, 1, 50));  // {0, 5, 6}, {7, 0, 8}
  s->Render(&target, nullptr);
  EXPECT_EQ(PixelAt(target, 2, 1), 1) << "transparent";
  EXPECT_EQ(PixelAt(target, 3, 1), 5);
  EXPECT_EQ(PixelAt(target, 4, 2), 8);

  comptest::Fill(target, 6, 4, 1);
  s->SetTransparent(0);
  const CRect clip(3, 0, 6, 2);
  s->Render(&target, &clip);
  EXPECT_EQ(PixelAt(target, 2, 1), 1) << "outside the clip";
  EXPECT_EQ(PixelAt(target, 3, 1), 5);
  EXPECT_EQ(PixelAt(target, 4, 1), 6);
  EXPECT_EQ(PixelAt(target, 3, 2), 1) << "outside the clip";

  // Partly off the target: only the part inside is drawn.
  comptest::Fill(target, 6, 4, 1);
  s->SetPosition(-1, 3);
  s->Render(&target, nullptr);
  EXPECT_EQ(PixelAt(target, 0, 3), 5);
  EXPECT_EQ(PixelAt(target, 1, 3), 6);
  s->SetPosition(5, -1);
  s->Render(&target, nullptr);
  EXPECT_EQ(PixelAt(target, 5, 0), 7);
}

TEST_F(SpriteListTest, RenderDrawsTheNearestSpriteOnTop) {
  list.Insert(NewSprite({{3, 3}, {3, 3}}, 0, 0, 10));
  list.Insert(NewSprite({{4, 4, 4}, {4, 4, 4}}, 0, 0, 90));
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    static_cast<CSprite*>(list.GetNext(pos))->SetTransparent(0);
  }
  CDIB target;
  comptest::Fill(target, 4, 2, 0);
  list.Render(&target, nullptr);
  EXPECT_EQ(PixelAt(target, 1, 1), 3);
  EXPECT_EQ(PixelAt(target, 2, 1), 4);
  EXPECT_EQ(PixelAt(target, 3, 1), 0);
}

TEST_F(SpriteListTest, ArchiveRoundTripKeepsOrderPositionsAndPictures) {
  CSprite* a = SmallSprite(3, 4, 20);
  CSprite* b = NewSprite({{9, 1}, {2, 3}}, -5, 6, 70);
  list.Insert(b);
  list.Insert(a);
  a->SetTransparent(0);
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    list.Serialize(ar);
    ar.Close();
  }
  file.SeekToBegin();
  CSpriteList back;
  {
    CArchive ar(&file, CArchive::load);
    back.Serialize(ar);
  }
  const std::vector<CSprite*> order = Order(back);
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(RectOf(*order[0]), CRect(3, 4, 6, 6));
  EXPECT_EQ(order[0]->GetZ(), 20);
  EXPECT_TRUE(order[0]->IsTransparent()) << "the flag is not stored";
  EXPECT_EQ(RectOf(*order[1]), CRect(-5, 6, -3, 8));
  EXPECT_EQ(order[1]->GetZ(), 70);
  EXPECT_EQ(PixelAt(*order[1], 0, 0), 9);
  EXPECT_EQ(PixelAt(*order[1], 1, 1), 3);
  EXPECT_EQ(order[1]->GetTransparentIndex(), 9);
  for (CSprite* s : order) EXPECT_EQ(s->GetObserver(), back.GetObserver());
  back.DeleteAll();
}

// A damaged archive adds nothing to the list; an object that is not a sprite is refused.
TEST_F(SpriteListTest, DamagedArchiveLeavesTheListAsItWas) {
  CSpriteList source;
  source.Insert(SmallSprite(1, 1, 10));
  source.Insert(SmallSprite(2, 2, 20));
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    source.Serialize(ar);
    ar.Close();
  }
  source.DeleteAll();
  const std::vector<BYTE> bytes(file.GetData(), file.GetData() + file.GetLength());

  CSprite* kept = SmallSprite(0, 0, 50);
  list.Insert(kept);
  for (size_t length : {bytes.size() - 1, bytes.size() / 2, size_t{3}}) {
    SCOPED_TRACE(length);
    CMemFile cut(bytes.data(), length);
    CArchive ar(&cut, CArchive::load);
    EXPECT_THROW(list.Serialize(ar), CException);
    EXPECT_EQ(Order(list), std::vector<CSprite*>{kept});
  }

  CObList others;
  CDIB picture;
  others.AddTail(&picture);
  CMemFile wrong;
  {
    CArchive ar(&wrong, CArchive::store);
    others.Serialize(ar);
    ar.Close();
  }
  others.RemoveAll();
  wrong.SeekToBegin();
  CArchive ar(&wrong, CArchive::load);
  try {
    list.Serialize(ar);
    ADD_FAILURE() << "a bitmap was accepted as a sprite";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::badClass);
  }
  EXPECT_EQ(Order(list), std::vector<CSprite*>{kept});
}

TEST(SpriteListLifetimeTest, DestroyedListLeavesItsSpritesWithoutObserver) {
  std::unique_ptr<CSprite> s(SmallSprite(0, 0, 50));
  {
    CSpriteList list;
    list.Insert(s.get());
    EXPECT_EQ(list.Remove(s.get()), s.get());
    EXPECT_EQ(list.Remove(s.get()), nullptr);
    EXPECT_FALSE(list.Reinsert(s.get())) << "a removed sprite is not put back";
    EXPECT_TRUE(list.IsEmpty());
    list.Insert(s.get());
  }
  EXPECT_EQ(s->GetObserver(), nullptr);
  s->SetPosition(1, 1);  // must not reach the dead list
}

TEST(DirtyRectListTest, MergesOnlyWithTheNewestRectangle) {
  CDirtyRectList dirty;
  dirty.Add(CRect(0, 0, 10, 10));
  dirty.Add(CRect(5, 5, 15, 15));  // overlaps the newest: merged
  ASSERT_EQ(dirty.GetCount(), 1);
  EXPECT_EQ(dirty.GetAt(0), CRect(0, 0, 15, 15));
  dirty.Add(CRect(15, 0, 20, 5));  // touches only: rectangles that share an edge stay apart
  dirty.Add(CRect(2, 2, 4, 4));    // overlaps the older one only
  ASSERT_EQ(dirty.GetCount(), 3);
  EXPECT_EQ(dirty.GetAt(0), CRect(2, 2, 4, 4));
  EXPECT_EQ(dirty.GetAt(1), CRect(15, 0, 20, 5));
  EXPECT_EQ(dirty.GetAt(2), CRect(0, 0, 15, 15));
}

TEST(DirtyRectListTest, FlushRendersEveryRectangleBeforeDrawingEach) {
  CDirtyRectList dirty;
  std::vector<std::string> calls;
  auto render = [&](const CRect& r) { calls.push_back("render " + std::to_string(r.left)); };
  auto draw = [&](const CRect& r) { calls.push_back("draw " + std::to_string(r.left)); };
  dirty.Flush(render, draw);
  EXPECT_TRUE(calls.empty()) << "an empty list does nothing";

  dirty.Add(CRect(1, 0, 2, 1));
  dirty.Add(CRect(3, 0, 4, 1));
  dirty.Add(CRect(5, 0, 6, 1));
  dirty.Flush(render, draw);
  EXPECT_EQ(calls, (std::vector<std::string>{"render 5", "render 3", "render 1", "draw 5", "draw 3",
                                             "draw 1"}));
  EXPECT_EQ(dirty.GetCount(), 0);

  dirty.Add(CRect(1, 0, 2, 1));
  dirty.Empty();
  calls.clear();
  dirty.Flush(render, draw);
  EXPECT_TRUE(calls.empty());
}

}  // namespace
