// The registry seam over the real registry (HKEY_LOCAL_MACHINE). A 32-bit program sees the
// 32-bit view (WOW6432Node on 64-bit Windows), so the setup program and the programs that read
// its values must have the same bitness.
#include <windows.h>

#include "seams/Registry.h"

namespace seams {
namespace {

HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }

class Win32Backend : public Registry {
 public:
  long OpenKey(const char* path, RegAccess access, RegKey* key) override {
    if (!key) return kRegInvalidParameter;
    *key = nullptr;
    HKEY hkey = nullptr;
    REGSAM sam = access == RegAccess::Read ? KEY_READ : KEY_SET_VALUE;
    LONG result = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, sam, &hkey);
    if (result == ERROR_SUCCESS) *key = reinterpret_cast<RegKey>(hkey);
    return result;
  }

  long CreateKey(const char* path, RegKey* key) override {
    if (!key) return kRegInvalidParameter;
    *key = nullptr;
    HKEY hkey = nullptr;
    LONG result = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_READ | KEY_WRITE, nullptr, &hkey, nullptr);
    if (result == ERROR_SUCCESS) *key = reinterpret_cast<RegKey>(hkey);
    return result;
  }

  long QueryValue(RegKey key, const char* name, void* data, uint32_t* size) override {
    if (!size) return kRegInvalidParameter;
    DWORD bytes = *size, type = REG_NONE;
    LONG result =
        ::RegQueryValueExA(ToHkey(key), name, nullptr, &type, static_cast<BYTE*>(data), &bytes);
    *size = bytes;
    if ((result == ERROR_SUCCESS || result == ERROR_MORE_DATA) && type != REG_SZ &&
        type != REG_EXPAND_SZ)
      return kRegWrongType;
    return result;
  }

  long SetValue(RegKey key, const char* name, const void* data, uint32_t size) override {
    return ::RegSetValueExA(ToHkey(key), name, 0, REG_SZ, static_cast<const BYTE*>(data), size);
  }

  long EnumSubkey(RegKey key, uint32_t index, char* name, uint32_t capacity) override {
    DWORD length = capacity;
    return ::RegEnumKeyExA(ToHkey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
  }

  long QueryInfo(RegKey key, uint32_t* subkeys, uint32_t* values) override {
    DWORD subkeyCount = 0;
    DWORD valueCount = 0;
    LONG result = ::RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &subkeyCount, nullptr,
                                     nullptr, &valueCount, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) {
      if (subkeys) *subkeys = subkeyCount;
      if (values) *values = valueCount;
    }
    return result;
  }

  long CloseKey(RegKey key) override { return ::RegCloseKey(ToHkey(key)); }
};

}  // namespace

Registry& Win32Registry() {
  static Win32Backend backend;
  return backend;
}

}  // namespace seams
