// Run-time class records: kinds, registry look-up and dynamic creation by name.
#include <gtest/gtest.h>

#include <memory>

#include "framework/Archive.h"
#include "framework/Arrays.h"
#include "framework/Exceptions.h"
#include "framework/Lists.h"
#include "framework/Object.h"

namespace {

class CObjTestBase : public CObject {
  DECLARE_DYNAMIC(CObjTestBase)
};
IMPLEMENT_DYNAMIC(CObjTestBase, CObject)

class CObjTestCreatable : public CObjTestBase {
  DECLARE_DYNCREATE(CObjTestCreatable)
 public:
  int m_value = 42;
};
IMPLEMENT_DYNCREATE(CObjTestCreatable, CObjTestBase)

class CObjTestSerial : public CObject {
  DECLARE_SERIAL(CObjTestSerial)
};
IMPLEMENT_SERIAL(CObjTestSerial, CObject, 5)

}  // namespace

TEST(RuntimeClass, RecordFields) {
  const CRuntimeClass* rc = RUNTIME_CLASS(CObjTestCreatable);
  EXPECT_STREQ("CObjTestCreatable", rc->m_lpszClassName);
  EXPECT_EQ(static_cast<int>(sizeof(CObjTestCreatable)), rc->m_nObjectSize);
  EXPECT_EQ(RUNTIME_CLASS(CObjTestBase), rc->m_pBaseClass);
  EXPECT_EQ(RUNTIME_CLASS(CObject), RUNTIME_CLASS(CObjTestBase)->m_pBaseClass);
  EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->m_pBaseClass);
  EXPECT_EQ(5u, RUNTIME_CLASS(CObjTestSerial)->m_wSchema);
  EXPECT_EQ(0xFFFFu, RUNTIME_CLASS(CObjTestBase)->m_wSchema);
}

TEST(RuntimeClass, KindsAndSerializable) {
  CObjTestCreatable obj;
  EXPECT_EQ(RUNTIME_CLASS(CObjTestCreatable), obj.GetRuntimeClass());
  EXPECT_TRUE(obj.IsKindOf(RUNTIME_CLASS(CObjTestCreatable)));
  EXPECT_TRUE(obj.IsKindOf(RUNTIME_CLASS(CObjTestBase)));
  EXPECT_TRUE(obj.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(obj.IsKindOf(RUNTIME_CLASS(CObjTestSerial)));
  EXPECT_FALSE(obj.IsSerializable());
  CObjTestSerial serial;
  EXPECT_TRUE(serial.IsSerializable());
  CObList list;
  EXPECT_TRUE(list.IsSerializable());
  EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CObject)));
}

TEST(RuntimeClass, CreateObjectFromRecord) {
  std::unique_ptr<CObject> p(RUNTIME_CLASS(CObjTestCreatable)->CreateObject());
  ASSERT_NE(nullptr, p);
  ASSERT_TRUE(p->IsKindOf(RUNTIME_CLASS(CObjTestCreatable)));
  EXPECT_EQ(42, static_cast<CObjTestCreatable*>(p.get())->m_value);
  // A DYNAMIC-only class has no creation function.
  EXPECT_EQ(nullptr, RUNTIME_CLASS(CObjTestBase)->CreateObject());
}

TEST(RuntimeClass, FromNameFindsRegisteredClasses) {
  EXPECT_EQ(RUNTIME_CLASS(CObjTestCreatable), CRuntimeClass::FromName("CObjTestCreatable"));
  EXPECT_EQ(RUNTIME_CLASS(CObject), CRuntimeClass::FromName("CObject"));
  // Classes of the library: referenced here (RUNTIME_CLASS), so their units are linked.
  EXPECT_EQ(RUNTIME_CLASS(CObList), CRuntimeClass::FromName("CObList"));
  EXPECT_EQ(RUNTIME_CLASS(CObArray), CRuntimeClass::FromName("CObArray"));
  EXPECT_EQ(RUNTIME_CLASS(CFileException), CRuntimeClass::FromName("CFileException"));
  EXPECT_EQ(nullptr, CRuntimeClass::FromName("CNoSuchClass"));
  EXPECT_EQ(nullptr, CRuntimeClass::FromName("cobject"));  // exact, case-sensitive
  EXPECT_EQ(nullptr, CRuntimeClass::FromName(nullptr));
}

TEST(RuntimeClass, CreateObjectByName) {
  std::unique_ptr<CObject> p(CRuntimeClass::CreateObject("CObjTestCreatable"));
  ASSERT_NE(nullptr, p);
  EXPECT_EQ(RUNTIME_CLASS(CObjTestCreatable), p->GetRuntimeClass());

  std::unique_ptr<CObject> list(CRuntimeClass::CreateObject("CObList"));
  ASSERT_NE(nullptr, list);
  EXPECT_TRUE(list->IsKindOf(RUNTIME_CLASS(CObList)));

  EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CObjTestBase"));  // not creatable
  EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CNoSuchClass"));
}

TEST(RuntimeClass, RegisterIsIdempotent) {
  CRuntimeClass::Register(RUNTIME_CLASS(CObjTestSerial));
  CRuntimeClass::Register(RUNTIME_CLASS(CObjTestSerial));
  EXPECT_EQ(RUNTIME_CLASS(CObjTestSerial), CRuntimeClass::FromName("CObjTestSerial"));
  EXPECT_EQ(RUNTIME_CLASS(CObjTestCreatable), CRuntimeClass::FromName("CObjTestCreatable"));
}

TEST(Exceptions, ThrownByValueCaughtByReference) {
  try {
    throw CFileException(CFileException::fileNotFound, 2, "missing.dat");
  } catch (CException& e) {
    EXPECT_TRUE(e.IsKindOf(RUNTIME_CLASS(CFileException)));
    auto& fe = static_cast<CFileException&>(e);
    EXPECT_EQ(CFileException::fileNotFound, fe.m_cause);
    EXPECT_EQ(2, fe.m_lOsError);
    EXPECT_STREQ("missing.dat", fe.m_strFileName);
    char text[64];
    EXPECT_TRUE(e.GetErrorMessage(text, sizeof(text)));
    EXPECT_STREQ("File not found: missing.dat", text);
  }
  try {
    ThrowArchiveException(CArchiveException::badSchema);
  } catch (CArchiveException& e) {
    EXPECT_EQ(CArchiveException::badSchema, e.m_cause);
    EXPECT_STREQ("Unsupported schema in archive", e.GetErrorMessage());
  }
  try {
    ThrowMemoryException();
  } catch (CException& e) {
    EXPECT_TRUE(e.IsKindOf(RUNTIME_CLASS(CMemoryException)));
  }
}

TEST(Exceptions, MessageTruncatesSafely) {
  CFileException e(CFileException::diskFull);
  char tiny[5];
  EXPECT_TRUE(e.GetErrorMessage(tiny, sizeof(tiny)));
  EXPECT_STREQ("Disk", tiny);
  EXPECT_FALSE(e.GetErrorMessage(tiny, 0));
  UINT help = 7;
  e.GetErrorMessage(tiny, sizeof(tiny), &help);
  EXPECT_EQ(0u, help);
}
