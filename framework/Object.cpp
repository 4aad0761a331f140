// CObject and the run-time class registry.
#include "framework/Object.h"

#include <cstring>
#include <new>

#include "framework/Exceptions.h"

namespace {

// Head of the registry list. A plain pointer with constant (zero) initialisation, so it is valid
// before any dynamic initialiser registers a class, whatever the order of units.
CRuntimeClass* g_pFirstClass = nullptr;

}  // namespace

CRuntimeClass CObject::classCObject = {
    "CObject", static_cast<int>(sizeof(CObject)), SAVER_SCHEMA_NONE, nullptr, nullptr, nullptr};
static const CRuntimeClassRegistration saver_register_CObject(&CObject::classCObject);

CObject* CRuntimeClass::CreateObject() const {
  if (m_pfnCreateObject == nullptr) return nullptr;
  try {
    return m_pfnCreateObject();
  } catch (const std::bad_alloc&) {
    ThrowMemoryException();
  }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass) {
    if (p == pBaseClass) return TRUE;
  }
  return FALSE;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName) {
  if (lpszClassName == nullptr) return nullptr;
  for (const CRuntimeClass* p = g_pFirstClass; p != nullptr; p = p->m_pNextClass) {
    if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0) return p;
  }
  return nullptr;
}

CObject* CRuntimeClass::CreateObject(const char* lpszClassName) {
  const CRuntimeClass* p = FromName(lpszClassName);
  return p != nullptr ? p->CreateObject() : nullptr;
}

void CRuntimeClass::Register(CRuntimeClass* pClass) {
  for (const CRuntimeClass* p = g_pFirstClass; p != nullptr; p = p->m_pNextClass) {
    if (p == pClass) return;
  }
  pClass->m_pNextClass = g_pFirstClass;
  g_pFirstClass = pClass;
}

CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

CObject::~CObject() = default;

void CObject::Serialize(CArchive&) {}

void CObject::AssertValid() const {}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }
