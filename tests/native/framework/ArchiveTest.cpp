// CArchive: value forms, string forms, end of file, object tags, schemas, Flush.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Archive.h"
#include "framework/File.h"
#include "framework/Lists.h"
#include "framework/Time.h"
#include "tests/native/framework/TempPath.h"

namespace {

typedef std::vector<BYTE> Bytes;

// Everything an archive stored into memory, after Close.
Bytes Store(const std::function<void(CArchive&)>& write, int bufSize = 4096) {
  CMemFile file;
  CArchive ar(&file, CArchive::store, bufSize);
  write(ar);
  ar.Close();
  const BYTE* p = file.GetData();
  return p != nullptr ? Bytes(p, p + file.GetLength()) : Bytes();
}

// Reads through an archive over exactly these bytes, kept in their own heap block so that a read
// past the end shows under AddressSanitizer.
void Load(const Bytes& bytes, const std::function<void(CArchive&)>& read, int bufSize = 4096) {
  std::unique_ptr<BYTE[]> copy(new BYTE[bytes.size() + 1]);
  if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
  CMemFile file(copy.get(), bytes.size());
  CArchive ar(&file, CArchive::load, bufSize);
  read(ar);
}

// The cause of the CArchiveException that reading throws, or -1 when nothing is thrown.
int LoadCause(const Bytes& bytes, const std::function<void(CArchive&)>& read, int bufSize = 4096) {
  try {
    Load(bytes, read, bufSize);
  } catch (CArchiveException& e) {
    return e.m_cause;
  }
  return -1;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// ---- test classes ---------------------------------------------------------------------------

int g_liveNodes = 0;

// A node with a value and a link to another object (possibly itself, possibly null).
class CArcTestNode : public CObject {
  DECLARE_SERIAL(CArcTestNode)
 public:
  CArcTestNode() { ++g_liveNodes; }
  explicit CArcTestNode(int v) : m_value(v) { ++g_liveNodes; }
  ~CArcTestNode() override { --g_liveNodes; }
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << m_value;
      ar.WriteObject(m_pLink);
    } else {
      ar >> m_value;
      m_pLink = ar.ReadObject(nullptr);
    }
  }
  int m_value = 0;
  CObject* m_pLink = nullptr;
};
IMPLEMENT_SERIAL(CArcTestNode, CObject, 1)

class CArcTestDerived : public CArcTestNode {
  DECLARE_SERIAL(CArcTestDerived)
 public:
  void Serialize(CArchive& ar) override {
    CArcTestNode::Serialize(ar);
    if (ar.IsStoring()) {
      ar << m_name;
    } else {
      ar >> m_name;
    }
  }
  CString m_name;
};
IMPLEMENT_SERIAL(CArcTestDerived, CArcTestNode, 1)

// Versionable, schema 3: records the schema the archive reports while loading.
class CArcTestVersioned : public CObject {
  DECLARE_SERIAL(CArcTestVersioned)
 public:
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << m_value;
    } else {
      m_loadedSchema = ar.GetObjectSchema();
      m_secondAsk = ar.GetObjectSchema();
      if (m_loadedSchema >= 2) ar >> m_value;
    }
  }
  int m_value = 0;
  UINT m_loadedSchema = 0;
  UINT m_secondAsk = 0;
};
IMPLEMENT_SERIAL(CArcTestVersioned, CObject, VERSIONABLE_SCHEMA | 3)

// Fixed schema 2.
class CArcTestFixed : public CObject {
  DECLARE_SERIAL(CArcTestFixed)
};
IMPLEMENT_SERIAL(CArcTestFixed, CObject, 2)

// Not serialisable.
class CArcTestDynamic : public CObject {
  DECLARE_DYNCREATE(CArcTestDynamic)
};
IMPLEMENT_DYNCREATE(CArcTestDynamic, CObject)

}  // namespace

// ---- numbers --------------------------------------------------------------------------------

TEST(ArchiveValues, LittleEndianFixedWidths) {
  Bytes b = Store([](CArchive& ar) {
    ar << static_cast<BYTE>(0x81) << 'A' << static_cast<WORD>(0x1234) << static_cast<SHORT>(-2)
       << static_cast<LONG>(-3) << static_cast<DWORD>(0xA1B2C3D4u) << 0x01020304 << 0xFFFFFFFEu
       << 1.5f << -2.0;
  });
  Bytes expected = {
      0x81,                                            // BYTE
      0x41,                                            // char 'A'
      0x34, 0x12,                                      // WORD 0x1234
      0xFE, 0xFF,                                      // SHORT -2
      0xFD, 0xFF, 0xFF, 0xFF,                          // LONG -3
      0xD4, 0xC3, 0xB2, 0xA1,                          // DWORD
      0x04, 0x03, 0x02, 0x01,                          // int
      0xFE, 0xFF, 0xFF, 0xFF,                          // UINT
      0x00, 0x00, 0xC0, 0x3F,                          // float 1.5
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0,  // double -2.0
  };
  EXPECT_EQ(expected, b);

  Load(b, [](CArchive& ar) {
    BYTE by;
    char ch;
    WORD w;
    SHORT s;
    LONG l;
    DWORD dw;
    int i;
    UINT u;
    float f;
    double d;
    ar >> by >> ch >> w >> s >> l >> dw >> i >> u >> f >> d;
    EXPECT_EQ(0x81, by);
    EXPECT_EQ('A', ch);
    EXPECT_EQ(0x1234, w);
    EXPECT_EQ(-2, s);
    EXPECT_EQ(-3, l);
    EXPECT_EQ(0xA1B2C3D4u, dw);
    EXPECT_EQ(0x01020304, i);
    EXPECT_EQ(0xFFFFFFFEu, u);
    EXPECT_EQ(1.5f, f);
    EXPECT_EQ(-2.0, d);
    EXPECT_EQ(0u, ar.Read(&by, 1));  // nothing more
  });
}

// Each type, cut short at every length: endOfFile, and never a read past the bytes.
TEST(ArchiveValues, EndOfFileInsideEveryType) {
  struct Case {
    const char* name;
    std::function<void(CArchive&)> write;
    std::function<void(CArchive&)> read;
  };
  const Case cases[] = {
      {"BYTE", [](CArchive& ar) { ar << static_cast<BYTE>(1); },
       [](CArchive& ar) {
         BYTE v;
         ar >> v;
       }},
      {"char", [](CArchive& ar) { ar << 'x'; },
       [](CArchive& ar) {
         char v;
         ar >> v;
       }},
      {"WORD", [](CArchive& ar) { ar << static_cast<WORD>(1); },
       [](CArchive& ar) {
         WORD v;
         ar >> v;
       }},
      {"SHORT", [](CArchive& ar) { ar << static_cast<SHORT>(1); },
       [](CArchive& ar) {
         SHORT v;
         ar >> v;
       }},
      {"LONG", [](CArchive& ar) { ar << static_cast<LONG>(1); },
       [](CArchive& ar) {
         LONG v;
         ar >> v;
       }},
      {"DWORD", [](CArchive& ar) { ar << static_cast<DWORD>(1); },
       [](CArchive& ar) {
         DWORD v;
         ar >> v;
       }},
      {"int", [](CArchive& ar) { ar << 1; },
       [](CArchive& ar) {
         int v;
         ar >> v;
       }},
      {"UINT", [](CArchive& ar) { ar << 1u; },
       [](CArchive& ar) {
         UINT v;
         ar >> v;
       }},
      {"float", [](CArchive& ar) { ar << 1.0f; },
       [](CArchive& ar) {
         float v;
         ar >> v;
       }},
      {"double", [](CArchive& ar) { ar << 1.0; },
       [](CArchive& ar) {
         double v;
         ar >> v;
       }},
      {"CTime", [](CArchive& ar) { ar << CTime(1000); },
       [](CArchive& ar) {
         CTime v;
         ar >> v;
       }},
      {"count", [](CArchive& ar) { ar.WriteCount(70000); }, [](CArchive& ar) { ar.ReadCount(); }},
      {"string 3", [](CArchive& ar) { ar << CString("abc"); },
       [](CArchive& ar) {
         CString v;
         ar >> v;
       }},
      {"string 300", [](CArchive& ar) { ar << CString('s', 300); },
       [](CArchive& ar) {
         CString v;
         ar >> v;
       }},
      {"string 70000", [](CArchive& ar) { ar << CString('s', 70000); },
       [](CArchive& ar) {
         CString v;
         ar >> v;
       }},
      {"object",
       [](CArchive& ar) {
         CArcTestNode n(5);
         ar << &n;
       },
       [](CArchive& ar) {
         CObject* p = nullptr;
         ar >> p;
         delete p;
       }},
  };
  for (const Case& c : cases) {
    Bytes full = Store(c.write);
    ASSERT_FALSE(full.empty()) << c.name;
    EXPECT_EQ(-1, LoadCause(full, c.read)) << c.name << ": the whole value reads";
    // Cut at every length below the full one (sampled for the long strings), with a small and a
    // default buffer so that values straddle buffer refills.
    size_t step = full.size() > 1000 ? 997 : 1;
    for (size_t cut = 0; cut < full.size(); cut += step) {
      Bytes part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
      EXPECT_EQ(CArchiveException::endOfFile, LoadCause(part, c.read))
          << c.name << " cut at " << cut;
      EXPECT_EQ(CArchiveException::endOfFile, LoadCause(part, c.read, 128))
          << c.name << " cut at " << cut;
    }
    EXPECT_EQ(0, g_liveNodes) << c.name << ": a half-read object is deleted";
  }
}

TEST(ArchiveValues, FailedValueConsumesNothing) {
  // Three bytes: a DWORD fails, after which the bytes still read one by one.
  Load({1, 2, 3}, [](CArchive& ar) {
    DWORD dw = 0;
    EXPECT_THROW(ar >> dw, CArchiveException);
    BYTE a, b, c;
    ar >> a >> b >> c;
    EXPECT_EQ(1, a);
    EXPECT_EQ(3, c);
    (void)b;
  });
}

TEST(ArchiveValues, ManyValuesAcrossBufferRefills) {
  Bytes b = Store(
      [](CArchive& ar) {
        for (int i = 0; i < 10000; ++i) ar << i << static_cast<BYTE>(i) << static_cast<WORD>(i);
      },
      128);
  ASSERT_EQ(10000u * 7, b.size());
  Load(
      b,
      [](CArchive& ar) {
        for (int i = 0; i < 10000; ++i) {
          int v;
          BYTE by;
          WORD w;
          ar >> v >> by >> w;
          ASSERT_EQ(i, v);
          ASSERT_EQ(static_cast<BYTE>(i), by);
          ASSERT_EQ(static_cast<WORD>(i), w);
        }
      },
      128);
}

TEST(ArchiveValues, CountForm) {
  EXPECT_EQ(Bytes({0xFE, 0xFF}), Store([](CArchive& ar) { ar.WriteCount(0xFFFE); }));
  EXPECT_EQ(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}),
            Store([](CArchive& ar) { ar.WriteCount(0xFFFF); }));
  EXPECT_EQ(Bytes({0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}),
            Store([](CArchive& ar) { ar.WriteCount(70000); }));
  Load({0x05, 0x00, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}, [](CArchive& ar) {
    EXPECT_EQ(5u, ar.ReadCount());
    EXPECT_EQ(70000u, ar.ReadCount());
  });
}

TEST(ArchiveValues, DirectionIsChecked) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  int v;
  try {
    ar >> v;
    FAIL() << "loading from a storing archive";
  } catch (CArchiveException& e) {
    EXPECT_EQ(CArchiveException::writeOnly, e.m_cause);
  }
  ar.Close();
  EXPECT_THROW(ar << 1, CArchiveException);  // closed
  EXPECT_EQ(nullptr, ar.GetFile());
}

// ---- strings --------------------------------------------------------------------------------

TEST(ArchiveStrings, LengthForms) {
  struct Case {
    int length;
    Bytes prefix;  // the bytes before the characters
  };
  const Case cases[] = {
      {0, {0x00}},                                           // empty: the single byte 0
      {1, {0x01}},                                           //
      {254, {0xFE}},                                         // largest one-byte length
      {255, {0xFF, 0xFF, 0x00}},                             // 0xFF, then 16-bit 255
      {300, {0xFF, 0x2C, 0x01}},                             // 0xFF, then 16-bit 300
      {0xFFFD, {0xFF, 0xFD, 0xFF}},                          // largest 16-bit length
      {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},  // 0xFF, 0xFFFF, 32-bit
      {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},   // 0xFF, 0xFFFF, 32-bit
  };
  for (const Case& c : cases) {
    std::string text;
    for (int i = 0; i < c.length; ++i) text += static_cast<char>('a' + i % 26);
    CString s(text.c_str(), c.length);
    Bytes b = Store([&](CArchive& ar) { ar << s; });
    Bytes expected = Cat({c.prefix, Text(text)});
    EXPECT_EQ(expected.size(), b.size()) << c.length;
    EXPECT_TRUE(expected == b) << "length " << c.length;
    for (int bufSize : {128, 4096}) {
      Load(
          b,
          [&](CArchive& ar) {
            CString back;
            ar >> back;
            EXPECT_EQ(c.length, back.GetLength());
            EXPECT_TRUE(back == s) << "length " << c.length;
            BYTE extra;
            EXPECT_EQ(0u, ar.Read(&extra, 1));
          },
          bufSize);
    }
  }
}

TEST(ArchiveStrings, EmbeddedZeroAndHighBytes) {
  const char raw[] = {'a', 0, '\xFF', 'z'};
  CString s(raw, 4);
  Bytes b = Store([&](CArchive& ar) { ar << s; });
  EXPECT_EQ(Bytes({4, 'a', 0, 0xFF, 'z'}), b);
  Load(b, [&](CArchive& ar) {
    CString back;
    ar >> back;
    EXPECT_TRUE(back == s);
  });
}

TEST(ArchiveStrings, WideStringRead) {
  Bytes b = {
      0xFF, 0xFE, 0xFF,        // marker: 0xFF, then 16-bit 0xFFFE
      0x04,                    // length 4 characters
      'H',  0x00, 'i',  0x00,  // "Hi"
      0xE9, 0x00,              // U+00E9 keeps its low byte
      0xA9, 0x03,              // U+03A9 above 255 becomes '?'
      0x02, 'o',  'k',         // then a plain string "ok"
  };
  Load(b, [](CArchive& ar) {
    CString wide, plain;
    ar >> wide >> plain;
    EXPECT_EQ(CString("Hi\xE9?"), wide);
    EXPECT_EQ(CString("ok"), plain);
  });
}

TEST(ArchiveStrings, WideStringLongLengths) {
  // 300 wide characters: marker, then 0xFF and a 16-bit length.
  Bytes b = {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01};
  for (int i = 0; i < 300; ++i) {
    b.push_back('w');
    b.push_back(0);
  }
  Load(b, [](CArchive& ar) {
    CString s;
    ar >> s;
    EXPECT_EQ(CString('w', 300), s);
  });
  // 2 wide characters in the 32-bit form: marker, 0xFF, 0xFFFF, then 32-bit 2.
  Load({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00, 'a', 0, 'b', 0},
       [](CArchive& ar) {
         CString s;
         ar >> s;
         EXPECT_EQ(CString("ab"), s);
       });
  // A wide string cut inside a character.
  EXPECT_EQ(CArchiveException::endOfFile,
            LoadCause({0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b'}, [](CArchive& ar) {
              CString s;
              ar >> s;
            }));
}

// A file that knows no length (GetLength fails), so the archive cannot check a length up front.
class CLengthlessFile : public CMemFile {
 public:
  CLengthlessFile(const void* p, size_t n) : CMemFile(p, n) {}
  ULONGLONG GetLength() const override { throw CFileException(CFileException::generic); }
};

TEST(ArchiveStrings, CorruptHugeLengthFailsCleanly) {
  // 0xFF, 0xFFFF, then 32-bit 0xFFFFFFF0, then a few characters only.
  const Bytes huge = {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'};
  EXPECT_EQ(CArchiveException::endOfFile, LoadCause(huge, [](CArchive& ar) {
              CString s;
              ar >> s;
            }));
  // Wide, so the byte count would pass 4 GB.
  const Bytes hugeWide = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0};
  EXPECT_EQ(CArchiveException::endOfFile, LoadCause(hugeWide, [](CArchive& ar) {
              CString s;
              ar >> s;
            }));
  // Without a known length the string is read in pieces and fails at the end of the bytes.
  std::vector<BYTE> big(huge);
  big.resize(200000, 'x');
  CLengthlessFile file(big.data(), big.size());
  CArchive ar(&file, CArchive::load);
  CString s;
  try {
    ar >> s;
    FAIL() << "a 4 GB string from 200 kB";
  } catch (CArchiveException& e) {
    EXPECT_EQ(CArchiveException::endOfFile, e.m_cause);
  }
}

// ---- Flush and direct file access -------------------------------------------------------------

namespace {

void FlushRoundTrip(CFile& file, int bufSize) {
  {
    CArchive ar(&file, CArchive::store, bufSize);
    ar << 1 << CString("before");
    ar.Flush();
    EXPECT_EQ(4u + 7u, file.GetPosition());
    file.Write("RAW!", 4);  // the caller writes the file directly, as CDIB::Serialize does
    ar << 2 << CString("after");
    ar.Close();
  }
  EXPECT_EQ(4u + 7u + 4u + 4u + 6u, file.GetLength());
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load, bufSize);
  int a = 0, b = 0;
  CString s1, s2;
  ar >> a >> s1;
  ar.Flush();  // the archive read ahead; Flush puts the file back at the archive's position
  EXPECT_EQ(4u + 7u, file.GetPosition());
  char raw[5] = {};
  ASSERT_EQ(4u, file.Read(raw, 4));
  EXPECT_STREQ("RAW!", raw);
  ar >> b >> s2;
  EXPECT_EQ(1, a);
  EXPECT_EQ(2, b);
  EXPECT_EQ(CString("before"), s1);
  EXPECT_EQ(CString("after"), s2);
  ar.Close();
  EXPECT_EQ(file.GetLength(),
            file.GetPosition());  // Close also leaves the file at the archive's end
}

}  // namespace

TEST(ArchiveFlush, CallerReadsFileMidArchiveInMemory) {
  for (int bufSize : {128, 512, 4096}) {
    CMemFile file;
    FlushRoundTrip(file, bufSize);
  }
}

TEST(ArchiveFlush, CallerReadsFileMidArchiveOnDisk) {
  TempPath path;
  for (int bufSize : {128, 4096}) {
    CFile file;
    ASSERT_TRUE(
        file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary));
    FlushRoundTrip(file, bufSize);
    file.Close();
  }
}

TEST(ArchiveFlush, DestructorFlushesAStoringArchive) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << 0x11223344;
  }
  EXPECT_EQ(4u, file.GetLength());
  CMemFile file2;
  {
    CArchive ar(&file2, CArchive::store | CArchive::bNoFlushOnDelete);
    ar << 1;
  }
  EXPECT_EQ(0u, file2.GetLength());
}

TEST(ArchiveRaw, ReadAndWriteLargeBlocks) {
  Bytes data(10000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<BYTE>(i * 7);
  Bytes b = Store(
      [&](CArchive& ar) {
        ar << static_cast<BYTE>(9);
        ar.Write(data.data(), static_cast<UINT>(data.size()));
        ar << static_cast<BYTE>(8);
      },
      128);
  ASSERT_EQ(data.size() + 2, b.size());
  Load(
      b,
      [&](CArchive& ar) {
        BYTE first, last;
        ar >> first;
        Bytes back(data.size());
        EXPECT_EQ(data.size(), ar.Read(back.data(), static_cast<UINT>(back.size())));
        ar >> last;
        EXPECT_EQ(9, first);
        EXPECT_EQ(8, last);
        EXPECT_TRUE(back == data);
        Bytes more(50);
        EXPECT_EQ(0u, ar.Read(more.data(), 50));  // short read at the end: a count, no exception
      },
      128);
}

// ---- objects --------------------------------------------------------------------------------

TEST(ArchiveObjects, TagsOfNewClassNullAndBackReferences) {
  CArcTestNode a(7);
  Bytes b = Store([&](CArchive& ar) {
    ar << &a;
    ar << &a;
    ar.WriteObject(nullptr);
  });
  Bytes expected = Cat({
      {0xFF, 0xFF},  // new class
      {0x01, 0x00},  // schema 1
      {0x0C, 0x00},  // name length 12
      Text("CArcTestNode"),
      {0x07, 0, 0, 0},  // m_value 7 (object index 2; the class took 1)
      {0x00, 0x00},     // m_pLink null
      {0x02, 0x00},     // back reference to object 2
      {0x00, 0x00},     // null
  });
  EXPECT_TRUE(expected == b);
}

TEST(ArchiveObjects, RoundTripWithBackReferencesAndNull) {
  CArcTestNode a(1), b(2);
  CArcTestDerived d;
  d.m_value = 3;
  d.m_name = "derived";
  a.m_pLink = &b;     // a -> b
  b.m_pLink = &a;     // b -> a (a cycle)
  d.m_pLink = &d;     // d -> itself
  CArcTestNode c(4);  // second object of a known class: class back reference
  Bytes bytes = Store(
      [&](CArchive& ar) { ar << &a << &b << static_cast<CObject*>(nullptr) << &d << &c << &a; });
  EXPECT_EQ(4, g_liveNodes);

  Load(bytes, [&](CArchive& ar) {
    CArcTestNode *ra = nullptr, *rb = nullptr, *rn = nullptr, *rc = nullptr, *ra2 = nullptr;
    CArcTestDerived* rd = nullptr;
    ar >> ra >> rb >> rn >> rd >> rc >> ra2;
    std::unique_ptr<CArcTestNode> ownA(ra), ownC(rc);
    std::unique_ptr<CArcTestDerived> ownD(rd);
    ASSERT_NE(nullptr, ra);
    ASSERT_NE(nullptr, rd);
    ASSERT_NE(nullptr, rc);
    EXPECT_EQ(1, ra->m_value);
    EXPECT_EQ(ra, ra2) << "an object written twice reads back as one";
    EXPECT_EQ(rb, ra->m_pLink);
    EXPECT_EQ(2, rb->m_value);
    EXPECT_EQ(ra, rb->m_pLink);
    EXPECT_EQ(nullptr, rn);
    EXPECT_EQ(RUNTIME_CLASS(CArcTestDerived), rd->GetRuntimeClass());
    EXPECT_EQ(3, rd->m_value);
    EXPECT_EQ(CString("derived"), rd->m_name);
    EXPECT_EQ(rd, rd->m_pLink);
    EXPECT_EQ(RUNTIME_CLASS(CArcTestNode), rc->GetRuntimeClass());
    EXPECT_EQ(4, rc->m_value);
    delete rb;
  });
  EXPECT_EQ(4, g_liveNodes);
}

TEST(ArchiveObjects, ManyObjectsUseTheBigTag) {
  // More than 0x7FFF objects: late indexes take 0x7FFF and a 32-bit value.
  const int kCount = 33000;
  std::vector<std::unique_ptr<CArcTestNode>> nodes;
  for (int i = 0; i < kCount; ++i) nodes.emplace_back(new CArcTestNode(i));
  Bytes bytes = Store([&](CArchive& ar) {
    for (auto& n : nodes) ar << n.get();
    ar << nodes.back().get();   // back reference to an index above 0x7FFF
    ar << nodes.front().get();  // and to a small one
  });
  Load(bytes, [&](CArchive& ar) {
    std::vector<std::unique_ptr<CObject>> back;
    for (int i = 0; i < kCount; ++i) {
      CArcTestNode* p = nullptr;
      ar >> p;
      ASSERT_NE(nullptr, p);
      ASSERT_EQ(i, p->m_value);
      back.emplace_back(p);
    }
    CObject *last = nullptr, *first = nullptr;
    ar >> last >> first;
    EXPECT_EQ(back.back().get(), last);
    EXPECT_EQ(back.front().get(), first);
  });
}

TEST(ArchiveObjects, BigTagsDecodeFromBytes) {
  // A new object, then references to it through the 32-bit form: object index 2, class index 1.
  Bytes b = Cat({{0xFF, 0xFF, 0x01, 0x00, 0x0C, 0x00},
                 Text("CArcTestNode"),
                 {5, 0, 0, 0, 0, 0},
                 {0xFF, 0x7F, 0x02, 0x00, 0x00, 0x00},  // object 2 (big form)
                 {0xFF, 0x7F, 0x01, 0x00, 0x00, 0x80},
                 {6, 0, 0, 0, 0, 0}});  // class 1 (big form), new object
  Load(b, [](CArchive& ar) {
    CObject *p1 = nullptr, *p2 = nullptr, *p3 = nullptr;
    ar >> p1 >> p2 >> p3;
    std::unique_ptr<CObject> own1(p1), own3(p3);
    EXPECT_EQ(p1, p2);
    ASSERT_NE(nullptr, p3);
    EXPECT_NE(p1, p3);
    EXPECT_EQ(6, static_cast<CArcTestNode*>(p3)->m_value);
  });
}

TEST(ArchiveObjects, ExtractionChecksTheRequestedClass) {
  CArcTestNode n(1);
  Bytes b = Store([&](CArchive& ar) { ar << &n; });
  EXPECT_EQ(CArchiveException::badClass, LoadCause(b, [](CArchive& ar) {
              CArcTestDerived* p = nullptr;
              ar >> p;  // a plain node is not a CArcTestDerived
            }));
  EXPECT_EQ(-1, LoadCause(b, [](CArchive& ar) {
    CObject* p = ar.ReadObject(RUNTIME_CLASS(CObject));
    delete p;
  }));
  EXPECT_EQ(0, g_liveNodes - 1);
}

TEST(ArchiveObjects, BadClassesAndIndexes) {
  // Unknown class name.
  EXPECT_EQ(CArchiveException::badClass,
            LoadCause(Cat({{0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00}, Text("CNoSuch")}),
                      [](CArchive& ar) { ar.ReadObject(nullptr); }));
  // A class that is registered but not serialisable.
  EXPECT_EQ(CArchiveException::badClass,
            LoadCause(Cat({{0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0x00}, Text("CArcTestDynamic")}),
                      [](CArchive& ar) { ar.ReadObject(nullptr); }));
  // Empty class name.
  EXPECT_EQ(CArchiveException::badClass, LoadCause({0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00},
                                                   [](CArchive& ar) { ar.ReadObject(nullptr); }));
  // An object back reference with nothing read yet.
  EXPECT_EQ(CArchiveException::badIndex,
            LoadCause({0x01, 0x00}, [](CArchive& ar) { ar.ReadObject(nullptr); }));
  // A class reference to nothing.
  EXPECT_EQ(CArchiveException::badIndex,
            LoadCause({0x05, 0x80}, [](CArchive& ar) { ar.ReadObject(nullptr); }));
  // A class reference to an object's index, and an object reference to a class's index.
  Bytes first =
      Cat({{0xFF, 0xFF, 0x01, 0x00, 0x0C, 0x00}, Text("CArcTestNode"), {5, 0, 0, 0, 0, 0}});
  EXPECT_EQ(CArchiveException::badIndex, LoadCause(Cat({first, {0x02, 0x80}}), [](CArchive& ar) {
              delete ar.ReadObject(nullptr);
              ar.ReadObject(nullptr);
            }));
  EXPECT_EQ(CArchiveException::badIndex, LoadCause(Cat({first, {0x01, 0x00}}), [](CArchive& ar) {
              delete ar.ReadObject(nullptr);
              ar.ReadObject(nullptr);
            }));
  EXPECT_EQ(0, g_liveNodes);
  // Writing an object whose class is not serialisable.
  CArcTestDynamic dyn;
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  try {
    ar << &dyn;
    FAIL() << "a DYNCREATE class is not serialisable";
  } catch (CArchiveException& e) {
    EXPECT_EQ(CArchiveException::badClass, e.m_cause);
  }
}

TEST(ArchiveObjects, VersionableSchemaAcceptsAnyStoredSchema) {
  CArcTestVersioned v;
  v.m_value = 99;
  Bytes b = Store([&](CArchive& ar) { ar << &v; });
  // The stored schema is 3, without the versionable flag.
  EXPECT_TRUE(
      Cat({{0xFF, 0xFF, 0x03, 0x00, 0x11, 0x00}, Text("CArcTestVersioned"), {99, 0, 0, 0}}) == b);
  Load(b, [](CArchive& ar) {
    CArcTestVersioned* p = nullptr;
    ar >> p;
    std::unique_ptr<CArcTestVersioned> own(p);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(3u, p->m_loadedSchema);
    EXPECT_EQ(static_cast<UINT>(-1), p->m_secondAsk);  // asked once per object
    EXPECT_EQ(99, p->m_value);
  });
  // An older schema 1 without the value: the class reads what that schema had.
  Load(Cat({{0xFF, 0xFF, 0x01, 0x00, 0x11, 0x00}, Text("CArcTestVersioned")}), [](CArchive& ar) {
    CArcTestVersioned* p = nullptr;
    ar >> p;
    std::unique_ptr<CArcTestVersioned> own(p);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(1u, p->m_loadedSchema);
    EXPECT_EQ(0, p->m_value);
    EXPECT_EQ(static_cast<UINT>(-1), ar.GetObjectSchema());  // outside an object
  });
}

TEST(ArchiveObjects, FixedSchemaMismatchIsBadSchema) {
  EXPECT_EQ(-1, LoadCause(Cat({{0xFF, 0xFF, 0x02, 0x00, 0x0D, 0x00}, Text("CArcTestFixed")}),
                          [](CArchive& ar) { delete ar.ReadObject(nullptr); }));
  EXPECT_EQ(CArchiveException::badSchema,
            LoadCause(Cat({{0xFF, 0xFF, 0x01, 0x00, 0x0D, 0x00}, Text("CArcTestFixed")}),
                      [](CArchive& ar) { ar.ReadObject(nullptr); }));
}

TEST(ArchiveObjects, ObjectListRoundTrip) {
  CArcTestNode a(10), b(20);
  CArcTestDerived d;
  d.m_value = 30;
  d.m_name = "third";
  CObList list;
  list.AddTail(&a);
  list.AddTail(&b);
  list.AddTail(&d);
  list.AddTail(&a);  // twice: read back as the same pointer
  Bytes bytes = Store([&](CArchive& ar) { ar << &list; });
  // The list's own record first, then the count as a WORD.
  Bytes head = Cat({{0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00}, Text("CObList"), {0x04, 0x00}});
  ASSERT_GE(bytes.size(), head.size());
  EXPECT_TRUE(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(head.size())) ==
              head);

  Load(bytes, [](CArchive& ar) {
    CObList* p = nullptr;
    ar >> p;
    std::unique_ptr<CObList> own(p);
    ASSERT_NE(nullptr, p);
    ASSERT_EQ(4, p->GetCount());
    POSITION pos = p->GetHeadPosition();
    auto* ra = static_cast<CArcTestNode*>(p->GetNext(pos));
    auto* rb = static_cast<CArcTestNode*>(p->GetNext(pos));
    auto* rd = static_cast<CArcTestDerived*>(p->GetNext(pos));
    auto* ra2 = static_cast<CArcTestNode*>(p->GetNext(pos));
    EXPECT_EQ(nullptr, pos);
    EXPECT_EQ(10, ra->m_value);
    EXPECT_EQ(20, rb->m_value);
    EXPECT_EQ(30, rd->m_value);
    EXPECT_EQ(CString("third"), rd->m_name);
    EXPECT_EQ(ra, ra2);
    delete ra;
    delete rb;
    delete rd;
  });

  // Serialize called directly (as a derived list's Serialize does) appends to the list.
  Bytes direct = Store([&](CArchive& ar) { list.Serialize(ar); });
  EXPECT_TRUE(Bytes({0x04, 0x00, 0xFF, 0xFF}) == Bytes(direct.begin(), direct.begin() + 4));
  Load(direct, [](CArchive& ar) {
    CObList back;
    back.Serialize(ar);
    ASSERT_EQ(4, back.GetCount());
    EXPECT_EQ(back.GetHead(), back.GetTail());
    delete back.GetAt(back.FindIndex(0));
    delete back.GetAt(back.FindIndex(1));
    delete back.GetAt(back.FindIndex(2));
  });
}

TEST(ArchiveObjects, ObjectListCorruptCountEndsAtEndOfFile) {
  // The count says 0xFFFFFFFF elements; only one follows.
  Bytes b = Cat({{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x0C, 0x00},
                 Text("CArcTestNode"),
                 {1, 0, 0, 0, 0, 0}});
  CObList list;
  EXPECT_EQ(CArchiveException::endOfFile, LoadCause(b, [&](CArchive& ar) { list.Serialize(ar); }));
  ASSERT_EQ(1, list.GetCount());
  delete list.RemoveHead();
}

TEST(ArchiveTime, ThirtyTwoBitSeconds) {
  CTime t(820454400);  // 1996-01-01 00:00:00 UTC
  Bytes b = Store([&](CArchive& ar) { ar << t; });
  EXPECT_EQ(Bytes({0x00, 0x24, 0xE7, 0x30}), b);
  Load(b, [&](CArchive& ar) {
    CTime back;
    ar >> back;
    EXPECT_EQ(t, back);
  });
  // Read as unsigned: 0xFFFFFFFF is 2106, not 1969.
  Load({0xFF, 0xFF, 0xFF, 0xFF}, [](CArchive& ar) {
    CTime back;
    ar >> back;
    EXPECT_EQ(4294967295LL, back.GetTime());
  });
}
