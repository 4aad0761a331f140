#include "imaging/Descriptors.h"

#include "framework/Archive.h"

IMPLEMENT_SERIAL(CImageDesc, CObject, VERSIONABLE_SCHEMA | 2)
IMPLEMENT_DYNAMIC(CPictureDesc, CObject)
IMPLEMENT_SERIAL(CLogoDesc, CPictureDesc, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CGlobeDesc, CPictureDesc, VERSIONABLE_SCHEMA | 1)

// A record that carries no date of its own dates from the start of 1996, local time.
CImageDesc::CImageDesc() : date(1996, 1, 1, 0, 0, 0), numbers{0, 0, 500, 10, 30} {}

CImageDesc::~CImageDesc() = default;

void CImageDesc::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << version << date;
    for (const CString& text : texts) ar << text;
    for (int32_t number : numbers) ar << number;
    ar << preTitle << title;
    ar << captionStart << captionEnd << descriptionStart << descriptionEnd << dataOffset;
    ar << dataFormat;
    return;
  }
  uint32_t storedVersion = 0;
  ar >> storedVersion >> date;
  for (CString& text : texts) ar >> text;
  for (int32_t& number : numbers) ar >> number;
  ar >> preTitle >> title;
  ar >> captionStart >> captionEnd >> descriptionStart >> descriptionEnd >> dataOffset;
  if (storedVersion == 2) {
    ar >> dataFormat;
  } else if (storedVersion == 1) {
    dataFormat = kImageDataPacked;  // the first sets held packed images only
  }
}

CPictureDesc::~CPictureDesc() = default;

void CPictureDesc::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << version << width << height << offset;
    return;
  }
  uint32_t storedVersion = 0;
  ar >> storedVersion >> width >> height >> offset;
}

CLogoDesc::~CLogoDesc() = default;

CGlobeDesc::~CGlobeDesc() = default;
