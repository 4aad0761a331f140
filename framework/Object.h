// CObject and CRuntimeClass: run-time class records, dynamic creation and the serialisation hook.
//
// Every framework class of the system (CDIB, CSprite, CImageDesc, the 3D shapes...) derives from
// CObject and carries one static CRuntimeClass record made by the macros below:
//
//   // Sprite.h                                  // Sprite.cpp
//   class CSprite : public CDIB {                 IMPLEMENT_SERIAL(CSprite, CDIB, 0)
//     DECLARE_SERIAL(CSprite)
//   public:
//     void Serialize(CArchive& ar) override;
//   };
//
//   DECLARE_DYNAMIC / IMPLEMENT_DYNAMIC(class, base)           run-time class only (IsKindOf)
//   DECLARE_DYNCREATE / IMPLEMENT_DYNCREATE(class, base)       + creation by record or by name
//   DECLARE_SERIAL / IMPLEMENT_SERIAL(class, base, schema)     + archive extraction operator
//                                                               `CArchive& operator>>(CArchive&,
//                                                               class*&)`
//   RUNTIME_CLASS(class)                                       the record's address
//   VERSIONABLE_SCHEMA | n                                     schema n; a reader accepts any
//   stored
//                                                               schema and the class's Serialize
//                                                               asks CArchive::GetObjectSchema()
//                                                               for it
//
// A unit using IMPLEMENT_SERIAL must include "framework/Archive.h" (the operator calls ReadObject).
//
// Overrides: DECLARE_* declare GetRuntimeClass with `override`, so mark every other override of the
// class with `override` too (clang's -Winconsistent-missing-override is an error under -Werror).
//
// Registration rule (important for static libraries): a record joins the process-wide registry
// that CRuntimeClass::FromName and CRuntimeClass::CreateObject(name) search when the translation
// unit holding its IMPLEMENT_* macro runs its static initialisers. The linker only keeps a unit of
// a static library when something references it, so a program that creates a class by name alone
// must reference that class somewhere (RUNTIME_CLASS(CDIB), a constructor call, any member).
// Lookups by name during static initialisation of other units may miss classes not yet registered;
// look classes up from main() onwards. The registry is filled at start-up and only read afterwards,
// so lookups from several threads are safe.
#pragma once

#include "framework/WinTypes.h"

class CArchive;
class CObject;

// Schema value of classes that are not serialisable (DYNAMIC and DYNCREATE).
#define SAVER_SCHEMA_NONE 0xFFFFu
// OR'ed into a schema: the class reads every stored schema itself (CArchive::GetObjectSchema).
#define VERSIONABLE_SCHEMA 0x80000000u

struct CRuntimeClass {
  // An aggregate, so that every record is constant-initialised: records are usable from any
  // static initialiser and their base pointers never depend on initialisation order.
  const char* m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                     // schema, possibly with VERSIONABLE_SCHEMA; 0xFFFF = none
  CObject* (*m_pfnCreateObject)();    // null for DYNAMIC classes
  const CRuntimeClass* m_pBaseClass;  // null for CObject only
  CRuntimeClass* m_pNextClass;        // registry link, set at registration

  // A new object of this class (default-constructed), or null when the class is not creatable.
  // Throws CMemoryException when allocation fails.
  CObject* CreateObject() const;
  // TRUE when this class is pBaseClass or derives from it.
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
  // TRUE when the class can be written to and read from an archive (schema other than 0xFFFF).
  BOOL IsSerializable() const { return m_wSchema != SAVER_SCHEMA_NONE; }
  // The schema without the VERSIONABLE_SCHEMA flag.
  UINT GetSchemaNumber() const { return m_wSchema & ~VERSIONABLE_SCHEMA; }
  BOOL IsVersionable() const { return (m_wSchema & VERSIONABLE_SCHEMA) != 0 && IsSerializable(); }

  // The registered record with this exact class name, or null.
  static const CRuntimeClass* FromName(const char* lpszClassName);
  // A new object of the registered class of that name, or null (unknown or not creatable).
  static CObject* CreateObject(const char* lpszClassName);
  // Adds a record to the registry (the IMPLEMENT_* macros do this; idempotent).
  static void Register(CRuntimeClass* pClass);
};

// Registers one record from a static initialiser (used by the IMPLEMENT_* macros).
struct CRuntimeClassRegistration {
  explicit CRuntimeClassRegistration(CRuntimeClass* pClass) { CRuntimeClass::Register(pClass); }
};

class CObject {
 public:
  static CRuntimeClass classCObject;

  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject();
  // Writes or reads the object's own fields; CObject has none.
  virtual void Serialize(CArchive& ar);
  // Debug consistency check; CObject's does nothing.
  virtual void AssertValid() const;

  BOOL IsKindOf(const CRuntimeClass* pClass) const;
  BOOL IsSerializable() const;

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)       \
 public:                                  \
  static CRuntimeClass class##class_name; \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) \
  DECLARE_DYNCREATE(class_name)    \
  friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define SAVER_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, pfnNew)          \
  CRuntimeClass class_name::class##class_name = {                                          \
      #class_name, static_cast<int>(sizeof(class_name)), (schema),                         \
      (pfnNew),    RUNTIME_CLASS(base_class_name),       nullptr};                         \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); } \
  static const CRuntimeClassRegistration saver_register_##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  SAVER_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, SAVER_SCHEMA_NONE, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                       \
  CObject* class_name::CreateObject() { return new class_name; }               \
  SAVER_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, SAVER_SCHEMA_NONE, \
                               class_name::CreateObject)

// The extraction operator reads an object of this class (or a derived one) through
// CArchive::ReadObject; a stored object of another class throws CArchiveException(badClass).
// ([[maybe_unused]]: a class in an unnamed namespace may never use its operator.)
#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                   \
  CObject* class_name::CreateObject() { return new class_name; }                                 \
  SAVER_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, (wSchema), class_name::CreateObject) \
  [[maybe_unused]] CArchive& operator>>(CArchive& ar, class_name*& pOb) {                        \
    pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                    \
    return ar;                                                                                   \
  }
