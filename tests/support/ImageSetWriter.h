// Test support: writers of an image set's data files, byte for byte what the readers expect.
//
// "Imagedes.dat": set identifier, count, then the CImageDesc records back to back.
// "Logosdes.dat": a count, then the CLogoDesc records; "imlogos.dat": the logos' BMP images.
// "imagetxt.dat" and "imagedoc.dat": texts back to back, each record holding its byte range.
// "imfull.dat": the pictures back to back, each record holding its offset and format.
// Never part of the product; the demo image-set builder uses them too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/Descriptors.h"

class CDIB;

namespace imagesettest {

using Bytes = std::vector<uint8_t>;

// The description file with `count` in its header, whatever the number of records given (tests
// of a wrong count pass a count that disagrees).
Bytes WriteImageDescriptions(uint32_t setId, uint32_t count,
                             const std::vector<const CImageDesc*>& records);

// A BMP file image of the bitmap (CDIB::SaveToFile's form).
Bytes BmpFileBytes(CDIB& dib);

// An 8-bit logo of that size: a ring on a gradient, so that any two sizes differ.
Bytes MakeLogoBmp(int width, int height);

// "Logosdes.dat" and "imlogos.dat" for the given logo BMP images (sizes read from them).
struct LogoFiles {
  Bytes descriptions;
  Bytes pictures;
};
LogoFiles WriteLogoFiles(const std::vector<Bytes>& logoBmps);

// One picture of a set: its title, caption, RTF description and data in "imfull.dat".
struct SetPicture {
  std::string title;
  std::string caption;
  std::string description;
  int32_t format = kImageDataPacked;
  Bytes data;
};

// The data files of a set whose pictures are given in order; the records' ranges and offsets
// follow from the concatenation. cover: a BMP file image.
struct ImageSetFiles {
  Bytes imagedes, imfull, imagetxt, imagedoc, logosdes, imlogos, cover;
  std::string credits;
};
ImageSetFiles MakeImageSetFiles(uint32_t setId, const std::vector<SetPicture>& pictures,
                                const std::vector<Bytes>& logoBmps);

// Writes the files under their set names into an existing folder. false when one cannot be
// written.
bool WriteImageSetFolder(const std::string& folder, const ImageSetFiles& files);

// Joins a folder and a file name with the separator of the build's file system.
std::string JoinPath(const std::string& folder, const std::string& name);
bool WriteFileBytes(const std::string& path, const Bytes& bytes);
Bytes ReadFileBytes(const std::string& path);

}  // namespace imagesettest
