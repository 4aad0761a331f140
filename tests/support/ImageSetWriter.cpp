#include "tests/support/ImageSetWriter.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>

#include "framework/Archive.h"
#include "framework/File.h"
#include "imaging/DIB.h"

namespace imagesettest {
namespace {

Bytes MemFileBytes(const CMemFile& file) {
  const BYTE* data = file.GetData();
  return data ? Bytes(data, data + file.GetLength()) : Bytes();
}

template <typename Record>
void StoreRecords(CArchive& archive, const std::vector<Record*>& records) {
  for (Record* record : records)
    const_cast<std::remove_const_t<Record>*>(record)->Serialize(archive);
}

void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

// Appends the text and returns its [start, end) range.
std::pair<int32_t, int32_t> AppendText(Bytes& to, const std::string& text) {
  const int32_t start = static_cast<int32_t>(to.size());
  to.insert(to.end(), text.begin(), text.end());
  return {start, static_cast<int32_t>(to.size())};
}

int32_t ReadLe32(const Bytes& bytes, size_t at) {
  return static_cast<int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                              static_cast<uint32_t>(bytes[at + 3]) << 24);
}

}  // namespace

Bytes WriteImageDescriptions(uint32_t setId, uint32_t count,
                             const std::vector<const CImageDesc*>& records) {
  CMemFile file;
  {
    CArchive archive(&file, CArchive::store, 512);
    archive << setId << count;
    StoreRecords(archive, records);
    archive.Close();
  }
  return MemFileBytes(file);
}

Bytes BmpFileBytes(CDIB& dib) {
  CMemFile file;
  dib.SaveToFile(&file);
  return MemFileBytes(file);
}

Bytes MakeLogoBmp(int width, int height) {
  CDIB dib;
  dib.Create(width, height, nullptr);
  const double cx = width / 2.0, cy = height / 2.0, radius = std::fmin(cx, cy) * 0.7;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double d = std::hypot(x - cx, y - cy);
      const bool ring = std::fabs(d - radius) < radius * 0.15;
      *dib.GetPixelAddress(x, y) =
          static_cast<BYTE>(ring ? 255 : 40 + (x + y) * 120 / (width + height));
    }
  }
  return BmpFileBytes(dib);
}

LogoFiles WriteLogoFiles(const std::vector<Bytes>& logoBmps) {
  LogoFiles out;
  std::vector<std::unique_ptr<CLogoDesc>> owned;
  std::vector<CLogoDesc*> records;
  for (const Bytes& bmp : logoBmps) {
    owned.emplace_back(new CLogoDesc);
    CLogoDesc* desc = owned.back().get();
    desc->width = ReadLe32(bmp, 18);  // biWidth of the info header after the 14-byte file header
    desc->height = ReadLe32(bmp, 22);
    desc->offset = static_cast<int32_t>(out.pictures.size());
    Append(out.pictures, bmp);
    records.push_back(desc);
  }
  CMemFile file;
  {
    CArchive archive(&file, CArchive::store, 512);
    archive << static_cast<uint32_t>(records.size());
    StoreRecords(archive, records);
    archive.Close();
  }
  out.descriptions = MemFileBytes(file);
  return out;
}

ImageSetFiles MakeImageSetFiles(uint32_t setId, const std::vector<SetPicture>& pictures,
                                const std::vector<Bytes>& logoBmps) {
  ImageSetFiles files;
  std::vector<std::unique_ptr<CImageDesc>> owned;
  std::vector<const CImageDesc*> records;
  for (const SetPicture& picture : pictures) {
    owned.emplace_back(new CImageDesc);
    CImageDesc* desc = owned.back().get();
    desc->title = picture.title.c_str();
    std::tie(desc->captionStart, desc->captionEnd) = AppendText(files.imagetxt, picture.caption);
    std::tie(desc->descriptionStart, desc->descriptionEnd) =
        AppendText(files.imagedoc, picture.description);
    desc->dataOffset = static_cast<int32_t>(files.imfull.size());
    desc->dataFormat = picture.format;
    Append(files.imfull, picture.data);
    records.push_back(desc);
  }
  files.imagedes = WriteImageDescriptions(setId, static_cast<uint32_t>(records.size()), records);
  LogoFiles logos = WriteLogoFiles(logoBmps);
  files.logosdes = std::move(logos.descriptions);
  files.imlogos = std::move(logos.pictures);
  files.cover = MakeLogoBmp(160, 120);
  files.credits = "{\\rtf1\\ansi Test image set\\par}";
  return files;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
#ifdef _WIN32
  return folder + "\\" + name;
#else
  return folder + "/" + name;
#endif
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteImageSetFolder(const std::string& folder, const ImageSetFiles& files) {
  const std::pair<const char*, const Bytes*> named[] = {
      {"Imagedes.dat", &files.imagedes}, {"imfull.dat", &files.imfull},
      {"imagetxt.dat", &files.imagetxt}, {"imagedoc.dat", &files.imagedoc},
      {"Logosdes.dat", &files.logosdes}, {"imlogos.dat", &files.imlogos},
      {"cover.bmp", &files.cover}};
  for (const auto& [name, bytes] : named)
    if (!WriteFileBytes(JoinPath(folder, name), *bytes)) return false;
  return WriteFileBytes(JoinPath(folder, "credits.rtf"),
                        Bytes(files.credits.begin(), files.credits.end()));
}

}  // namespace imagesettest
