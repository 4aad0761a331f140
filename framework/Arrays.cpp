// CObArray, CPtrArray and CStringArray.
#include "framework/Arrays.h"

IMPLEMENT_DYNAMIC(CObArray, CObject)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_DYNAMIC(CStringArray, CObject)

CObArray::CObArray() = default;
CObArray::~CObArray() = default;

CPtrArray::CPtrArray() = default;
CPtrArray::~CPtrArray() = default;

CStringArray::CStringArray() = default;
CStringArray::~CStringArray() = default;
