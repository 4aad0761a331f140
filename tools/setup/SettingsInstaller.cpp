#include "tools/setup/SettingsInstaller.h"

#include "seams/Registry.h"
#include "settings/ImageSetKey.h"
#include "settings/IniSettings.h"
#include "settings/TransFXTables.h"

namespace {

constexpr size_t kMaxPathText = kTextBufferSize - 1;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string WithoutTrailingSeparators(std::string folder) {
  while (!folder.empty() && IsSeparator(folder.back())) folder.pop_back();
  return folder;
}

// Writes the values of one key, keeping those that exist unless forced.
class KeyWriter {
 public:
  KeyWriter(const std::string& path, bool force, InstallResult& result)
      : path_(path), force_(force), result_(result) {
    long error = key_.Create(path.c_str());
    if (error != seams::kRegOk) Fail("cannot create the key", error);
  }

  void Put(const char* name, const char* text) {
    if (!result_.ok) return;
    if (!force_ && Exists(name)) {
      ++result_.kept;
      return;
    }
    long error = key_.SetString(name, text);
    if (error != seams::kRegOk) return Fail(std::string("cannot set ") + name, error);
    ++result_.written;
  }

 private:
  bool Exists(const char* name) {
    char probe[kTextBufferSize];
    long error = key_.QueryString(name, probe, sizeof probe);
    return error == seams::kRegOk || error == seams::kRegMoreData;
  }

  void Fail(const std::string& what, long error) {
    result_.ok = false;
    result_.error = path_ + ": " + what + " (error " + std::to_string(error) + ")";
  }

  std::string path_;
  bool force_;
  InstallResult& result_;
  seams::RegistryKey key_;
};

void InstallProduct(const char* productCode, bool force, InstallResult& result) {
  CString keyPath;
  BuildRegistryKeyPath(keyPath, productCode);
  {
    KeyWriter settings(keyPath.str(), force, result);
    for (const IniValueDef& def : IniValueDefs) {
      // The two image-set values have no default of their own: they name the set installed here.
      settings.Put(def.name, def.installDefault ? def.installDefault : result.setKeyPath.c_str());
    }
    for (const SingleValueDef& def : SingleValueDefs) settings.Put(def.name, def.installDefault);
  }
  KeyWriter transfx(TransFXKeyPath(keyPath).str(), force, result);
  for (const TransFXValueDef& def : TransFXValueDefs) {
    for (const TransFXClassRow& row : TransFXClassDefaults()) {
      if (row.classId != def.classId) continue;
      char text[kNumberBufferSize];
      FormatTransFXClassRow(text, row);
      transfx.Put(def.name, text);
    }
  }
}

}  // namespace

std::string ImageSetKeyPathFor(const std::string& dataFolder) {
  std::string folder = WithoutTrailingSeparators(dataFolder);
  size_t cut = folder.find_last_of("\\/:");
  std::string name = cut == std::string::npos ? folder : folder.substr(cut + 1);
  if (name.empty()) name = "DEFAULT";
  return std::string(kImageSetRootKey) + "\\" + name;
}

InstallResult InstallSettings(const std::string& dataFolder, bool force) {
  InstallResult result;
  std::string folder = WithoutTrailingSeparators(dataFolder);
  result.setKeyPath = ImageSetKeyPathFor(folder);
  if (folder.empty()) {
    result.error = "no data folder given";
    return result;
  }
  if (folder.size() > kMaxPathText || result.setKeyPath.size() > kMaxPathText) {
    result.error = "the data folder's path is longer than 255 characters";
    return result;
  }
  result.ok = true;
  KeyWriter(result.setKeyPath, force, result).Put(kDataDirectoryValue, folder.c_str());
  InstallProduct(kScreenSaverProductCode, force, result);
  InstallProduct(kWallpaperProductCode, force, result);
  return result;
}
