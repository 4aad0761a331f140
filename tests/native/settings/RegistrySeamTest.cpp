// The registry seam's in-memory backend behaves like the real registry where the settings store
// depends on it, and string reads never hand out an unterminated text.
#include "seams/Registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using seams::RegAccess;

class RegistrySeamTest : public ::testing::Test {
 protected:
  seams::MemoryRegistry registry;
  seams::ScopedRegistry scoped{&registry};
};

TEST_F(RegistrySeamTest, NamesIgnoreCaseAndKeysNeedTheirAccess) {
  registry.Put("SOFTWARE\\KLV\\Set", "Value", "text");
  seams::RegistryKey key;
  ASSERT_EQ(key.Open("software\\klv\\SET", RegAccess::Read), seams::kRegOk);
  char buffer[16];
  EXPECT_EQ(key.QueryString("VALUE", buffer, sizeof buffer), seams::kRegOk);
  EXPECT_STREQ(buffer, "text");
  EXPECT_EQ(key.SetString("VALUE", "other"), seams::kRegAccessDenied) << "read access cannot write";

  ASSERT_EQ(key.Open("SOFTWARE\\KLV\\SET", RegAccess::SetValue), seams::kRegOk);
  EXPECT_EQ(key.QueryString("VALUE", buffer, sizeof buffer), seams::kRegAccessDenied);
  EXPECT_EQ(key.SetString("value", "other"), seams::kRegOk);
  key.Close();
  std::string text;
  EXPECT_TRUE(registry.Get("SOFTWARE\\KLV\\SET", "VALUE", &text));
  EXPECT_EQ(text, "other");
  EXPECT_EQ(key.Open("SOFTWARE\\KLV\\NONE", RegAccess::Read), seams::kRegNotFound);
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST_F(RegistrySeamTest, StringReadsAreAlwaysTerminated) {
  struct Case {
    std::string bytes;
    uint32_t capacity;
    long result;
    const char* text;
  };
  std::vector<Case> cases = {
      {std::string("abc\0", 4), 4, seams::kRegOk, "abc"},
      {std::string("abcd\0", 5), 4, seams::kRegMoreData, ""},
      {"abcd", 4, seams::kRegMoreData, ""},  // fills the buffer with no room for a terminator
      {"abc", 4, seams::kRegOk, "abc"},      // unterminated but short: terminated on reading
      {"", 4, seams::kRegOk, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.bytes.size()) + " bytes into " + std::to_string(c.capacity));
    registry.PutBytes("K", "V", c.bytes);
    seams::RegistryKey key;
    ASSERT_EQ(key.Open("K", RegAccess::Read), seams::kRegOk);
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(key.QueryString("V", buffer, c.capacity), c.result);
    EXPECT_STREQ(buffer, c.text);
    EXPECT_EQ(buffer[c.capacity], 'x') << "nothing written past the capacity";
  }
}

TEST_F(RegistrySeamTest, FaultsHitTheKthCallOfTheirKind) {
  registry.Put("K", "V", "1");
  seams::RegistryKey key;
  ASSERT_EQ(key.Create("K"), seams::kRegOk);
  registry.FailNth(seams::RegOp::Set, 3, 1234);
  EXPECT_EQ(key.SetString("A", "1"), seams::kRegOk);
  EXPECT_EQ(key.SetString("B", "1"), seams::kRegOk);
  EXPECT_EQ(key.SetString("C", "1"), 1234);
  EXPECT_EQ(key.SetString("D", "1"), seams::kRegOk);
  EXPECT_FALSE(registry.Get("K", "C", nullptr));
  EXPECT_EQ(registry.Calls(seams::RegOp::Set), 4);
}

TEST_F(RegistrySeamTest, CreatesKeysAndListsSubkeys) {
  seams::RegistryKey key;
  ASSERT_EQ(key.Create("SOFTWARE\\KLV\\IMAGESET\\one"), seams::kRegOk);
  ASSERT_EQ(key.Create("SOFTWARE\\KLV\\IMAGESET\\two"), seams::kRegOk);
  ASSERT_EQ(key.Open("SOFTWARE\\KLV\\IMAGESET", RegAccess::Read), seams::kRegOk);
  uint32_t subkeys = 0, values = 9;
  EXPECT_EQ(key.QueryInfo(&subkeys, &values), seams::kRegOk);
  EXPECT_EQ(subkeys, 2u);
  EXPECT_EQ(values, 0u);
  char name[8];
  EXPECT_EQ(key.EnumSubkey(0, name, sizeof name), seams::kRegOk);
  EXPECT_STREQ(name, "one");
  EXPECT_EQ(key.EnumSubkey(1, name, 3), seams::kRegMoreData);
  EXPECT_EQ(key.EnumSubkey(2, name, sizeof name), seams::kRegNoMoreItems);
  key.Close();
  EXPECT_EQ(registry.CloseKey(reinterpret_cast<seams::RegKey>(&key)), seams::kRegInvalidHandle);
}

TEST(RegistrySeam, ScopedBackendIsRestored) {
  seams::Registry* before = &seams::CurrentRegistry();
  {
    seams::MemoryRegistry registry;
    seams::ScopedRegistry scoped(&registry);
    EXPECT_EQ(&seams::CurrentRegistry(), &registry);
  }
  EXPECT_EQ(&seams::CurrentRegistry(), before);
}

}  // namespace
