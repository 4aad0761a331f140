// Descriptor records: the small serialised records that describe the pictures of an image set.
//
// CImageDesc describes one image: its date, texts and title, where its caption lies in
// "imagetxt.dat" and its RTF description in "imagedoc.dat", and where and in which format its
// picture lies in "imfull.dat". CLogoDesc and CGlobeDesc describe one small BMP picture inside a
// picture file ("imlogos.dat" for logos). The description files hold the records back to back
// without class tags, so readers create an empty record and call its Serialize.
//
// Every string length, count and number comes from a file the user supplies: a record that ends
// early or names a string longer than the bytes left throws CArchiveException(endOfFile) before
// anything is allocated for it.
#pragma once

#include <cstdint>

#include "framework/Object.h"
#include "framework/String.h"
#include "framework/Time.h"

class CArchive;

// Where the picture of an image lies in "imfull.dat".
enum ImageDataFormat : int32_t {
  kImageDataPacked = 0,  // the system's packed image format
  kImageDataBmp = 1,     // a BMP file image
  kImageDataJpeg = 2     // a JPEG file
};

class CImageDesc : public CObject {
  DECLARE_SERIAL(CImageDesc)
 public:
  static constexpr uint32_t kCurrentVersion = 2;
  static constexpr int kTextCount = 6;
  static constexpr int kNumberCount = 5;

  // The defaults of a record that nothing has been read into.
  CImageDesc();
  ~CImageDesc() override;

  // Storing writes version 2 with every field. Loading reads the stored version into a local:
  // version 2 reads the data format, version 1 has none and means a packed image, any other
  // version stops before it and keeps the default format (JPEG).
  void Serialize(CArchive& ar) override;

  uint32_t version = kCurrentVersion;
  CTime date;                     // kept to 32 bits in the archive, whatever the width of time_t
  CString texts[kTextCount];      // descriptive texts, kept as read
  int32_t numbers[kNumberCount];  // numeric attributes, kept as read
  CString preTitle;               // shown before the title in the caption
  CString title;
  int32_t captionStart = 0;  // byte range [start, end) of the caption in "imagetxt.dat"
  int32_t captionEnd = 0;
  int32_t descriptionStart = 0;  // byte range [start, end) of the RTF text in "imagedoc.dat"
  int32_t descriptionEnd = 0;
  int32_t dataOffset = 0;  // byte offset of the picture in "imfull.dat"
  int32_t dataFormat = kImageDataJpeg;
};

// The three numbers of a picture inside a picture file: its size and the offset of its BMP image.
// Shared by the logo and globe records, which differ only in their class.
class CPictureDesc : public CObject {
  DECLARE_DYNAMIC(CPictureDesc)
 public:
  static constexpr uint32_t kCurrentVersion = 1;
  // Serialised size: the version and the three values, 32 bits each.
  static constexpr uint32_t kArchiveSize = 16;

  ~CPictureDesc() override;

  // Loading reads the stored version and drops it (the record keeps version 1).
  void Serialize(CArchive& ar) override;

  uint32_t version = kCurrentVersion;
  int32_t width = 0;
  int32_t height = 0;
  int32_t offset = 0;  // byte offset of the picture's BMP image in its picture file

 protected:
  CPictureDesc() = default;
};

class CLogoDesc : public CPictureDesc {
  DECLARE_SERIAL(CLogoDesc)
 public:
  CLogoDesc() = default;
  ~CLogoDesc() override;
};

class CGlobeDesc : public CPictureDesc {
  DECLARE_SERIAL(CGlobeDesc)
 public:
  CGlobeDesc() = default;
  ~CGlobeDesc() override;
};
