// CObList, CPtrList, CObArray, CPtrArray, CStringArray.
#include <gtest/gtest.h>

#include "framework/Arrays.h"
#include "framework/Lists.h"

TEST(PtrList, AddRemoveAndWalk) {
  int a = 1, b = 2, c = 3, d = 4;
  CPtrList list(10);
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(nullptr, list.GetHeadPosition());
  POSITION pb = list.AddTail(&b);
  list.AddHead(&a);
  POSITION pd = list.AddTail(&d);
  POSITION pc = list.InsertBefore(pd, &c);
  EXPECT_EQ(4, list.GetCount());
  EXPECT_EQ(&a, list.GetHead());
  EXPECT_EQ(&d, list.GetTail());

  int expected = 1;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    EXPECT_EQ(expected++, *static_cast<int*>(list.GetNext(pos)));
  }
  EXPECT_EQ(5, expected);
  expected = 4;
  for (POSITION pos = list.GetTailPosition(); pos != nullptr;) {
    EXPECT_EQ(expected--, *static_cast<int*>(list.GetPrev(pos)));
  }

  EXPECT_EQ(pc, list.Find(&c));
  EXPECT_EQ(nullptr, list.Find(&c, pc));  // searching after it
  EXPECT_EQ(pb, list.FindIndex(1));
  EXPECT_EQ(nullptr, list.FindIndex(4));
  EXPECT_EQ(nullptr, list.FindIndex(-1));
  EXPECT_EQ(&c, list.GetAt(pc));
  list.SetAt(pc, &a);
  EXPECT_EQ(&a, list.GetAt(pc));

  list.RemoveAt(pb);
  EXPECT_EQ(3, list.GetCount());
  POSITION after = list.InsertAfter(list.GetTailPosition(), &b);
  EXPECT_EQ(after, list.GetTailPosition());
  EXPECT_EQ(&a, list.RemoveHead());
  EXPECT_EQ(&b, list.RemoveTail());
  EXPECT_EQ(2, list.GetCount());
  list.RemoveAll();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(nullptr, list.GetTailPosition());
  list.AddTail(&a);
  EXPECT_EQ(list.GetHeadPosition(), list.GetTailPosition());
}

TEST(ObList, HoldsObjectsWithoutOwningThem) {
  CObList list;
  CObList inner;  // any CObject will do
  list.AddTail(&inner);
  list.AddTail(&inner);
  EXPECT_EQ(list.GetHeadPosition(), list.Find(&inner));
  EXPECT_NE(list.Find(&inner), list.Find(&inner, list.GetHeadPosition()));
  list.GetHead() = nullptr;  // GetHead gives a reference
  EXPECT_EQ(nullptr, list.GetHead());
}

TEST(CollectionsDeathTest, MisuseStopsInsteadOfCorrupting) {
  CPtrList list;
  EXPECT_DEATH(list.GetHead(), "framework check failed");
  EXPECT_DEATH(list.RemoveTail(), "framework check failed");
  CObArray array;
  array.SetSize(2);
  EXPECT_DEATH(array.SetAt(2, nullptr), "framework check failed");
  EXPECT_DEATH(array.GetAt(-1), "framework check failed");
  EXPECT_DEATH(array.RemoveAt(1, 2), "framework check failed");
}

TEST(ObArray, SizeGrowInsertRemove) {
  CObArray array;
  EXPECT_EQ(0, array.GetSize());
  EXPECT_EQ(-1, array.GetUpperBound());
  array.SetSize(3, 5);
  EXPECT_EQ(3, array.GetSize());
  EXPECT_EQ(nullptr, array.GetAt(2));
  CObList a, b, c;
  array.SetAt(0, &a);
  array[1] = &b;
  array.ElementAt(2) = &c;
  EXPECT_EQ(&b, array.GetAt(1));
  EXPECT_EQ(3, array.Add(&a));
  array.SetAtGrow(6, &b);
  EXPECT_EQ(7, array.GetSize());
  EXPECT_EQ(nullptr, array[5]);
  array.InsertAt(1, &c, 2);
  EXPECT_EQ(9, array.GetSize());
  EXPECT_EQ(&c, array[1]);
  EXPECT_EQ(&c, array[2]);
  EXPECT_EQ(&b, array[3]);
  array.RemoveAt(1, 2);
  EXPECT_EQ(&b, array[1]);
  array.InsertAt(10, &a);  // past the end grows
  EXPECT_EQ(11, array.GetSize());
  EXPECT_EQ(&a, array[10]);
  array.SetSize(1);
  EXPECT_EQ(&a, array[0]);
  array.RemoveAll();
  EXPECT_EQ(0, array.GetSize());
}

TEST(PtrArray, Basics) {
  CPtrArray array;
  int x = 0;
  array.Add(&x);
  array.Add(nullptr);
  EXPECT_EQ(2, array.GetSize());
  EXPECT_EQ(&x, array[0]);
  array.RemoveAt(0);
  EXPECT_EQ(nullptr, array[0]);
}

TEST(StringArray, Basics) {
  CStringArray array;
  array.Add("one");
  array.Add(CString("two"));
  array.SetAtGrow(3, "four");
  EXPECT_EQ(4, array.GetSize());
  EXPECT_TRUE(array[2].IsEmpty());
  EXPECT_EQ(CString("four"), array.GetAt(3));
  array.SetAtGrow(100, array[0]);  // an element of the array itself, while it grows
  EXPECT_EQ(CString("one"), array[100]);
  array.InsertAt(0, "zero");
  EXPECT_EQ(CString("zero"), array[0]);
  EXPECT_EQ(CString("one"), array[1]);
  array.ElementAt(1) += "!";
  EXPECT_EQ(CString("one!"), array[1]);
}
