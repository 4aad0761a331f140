#include "seams/Registry.h"

#include <atomic>
#include <cstring>

namespace seams {
namespace {

std::atomic<Registry*> installed{nullptr};

Registry& DefaultRegistry() {
#ifdef _WIN32
  return Win32Registry();
#else
  static MemoryRegistry processRegistry;
  return processRegistry;
#endif
}

}  // namespace

long Registry::QueryString(RegKey key, const char* name, char* buffer, uint32_t capacity) {
  if (!buffer || capacity == 0) return kRegInvalidParameter;
  std::memset(buffer, 0, capacity);
  uint32_t size = capacity;
  long result = QueryValue(key, name, buffer, &size);
  if (result == kRegOk && size > capacity) result = kRegMoreData;
  if (result == kRegOk && size > 0 && buffer[size - 1] != '\0') {
    // Stored without its terminator: usable only when there is room to add one.
    if (size == capacity) result = kRegMoreData;
  }
  if (result != kRegOk) std::memset(buffer, 0, capacity);
  return result;
}

long Registry::SetString(RegKey key, const char* name, const char* text) {
  if (!text) text = "";
  return SetValue(key, name, text, static_cast<uint32_t>(std::strlen(text) + 1));
}

Registry& CurrentRegistry() {
  Registry* registry = installed.load(std::memory_order_acquire);
  return registry ? *registry : DefaultRegistry();
}

Registry* InstallRegistry(Registry* registry) {
  return installed.exchange(registry, std::memory_order_acq_rel);
}

long RegistryKey::Open(const char* path, RegAccess access) {
  Close();
  registry_ = &CurrentRegistry();
  RegKey key = nullptr;
  long result = registry_->OpenKey(path, access, &key);
  if (result == kRegOk) key_ = key;
  return result;
}

long RegistryKey::Create(const char* path) {
  Close();
  registry_ = &CurrentRegistry();
  RegKey key = nullptr;
  long result = registry_->CreateKey(path, &key);
  if (result == kRegOk) key_ = key;
  return result;
}

void RegistryKey::Close() {
  if (key_) registry_->CloseKey(key_);
  key_ = nullptr;
}

long RegistryKey::QueryString(const char* name, char* buffer, uint32_t capacity) {
  if (!key_) return kRegInvalidHandle;
  return registry_->QueryString(key_, name, buffer, capacity);
}

long RegistryKey::SetString(const char* name, const char* text) {
  if (!key_) return kRegInvalidHandle;
  return registry_->SetString(key_, name, text);
}

long RegistryKey::QueryInfo(uint32_t* subkeys, uint32_t* values) {
  if (!key_) return kRegInvalidHandle;
  return registry_->QueryInfo(key_, subkeys, values);
}

long RegistryKey::EnumSubkey(uint32_t index, char* name, uint32_t capacity) {
  if (!key_) return kRegInvalidHandle;
  return registry_->EnumSubkey(key_, index, name, capacity);
}

}  // namespace seams
