#include <algorithm>
#include <cctype>
#include <cstring>

#include "seams/Registry.h"

namespace seams {
namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Names compare without case; the first spelling used is the one kept.
struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const { return Upper(a) < Upper(b); }
};

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

}  // namespace

struct MemoryRegistry::Node {
  std::map<std::string, std::unique_ptr<Node>, NoCase> subkeys;
  std::map<std::string, std::string, NoCase> values;
};

struct MemoryRegistry::Handle {
  Node* node;
  bool canRead;
  bool canWrite;
};

MemoryRegistry::MemoryRegistry() : root_(new Node) {
  // Every count exists from the start: counting a call allocates nothing, so a key's close in a
  // destructor cannot throw while a test refuses allocations.
  for (RegOp op : {RegOp::Open, RegOp::Create, RegOp::Query, RegOp::Set, RegOp::Enum, RegOp::Info,
                   RegOp::Close})
    calls_[op] = 0;
}

MemoryRegistry::~MemoryRegistry() {
  for (Handle* handle : handles_) delete handle;
}

MemoryRegistry::Node* MemoryRegistry::Find(const std::string& path) const {
  Node* node = root_.get();
  for (const std::string& part : SplitPath(path)) {
    auto it = node->subkeys.find(part);
    if (it == node->subkeys.end()) return nullptr;
    node = it->second.get();
  }
  return node;
}

MemoryRegistry::Node* MemoryRegistry::Make(const std::string& path) {
  Node* node = root_.get();
  for (const std::string& part : SplitPath(path)) {
    std::unique_ptr<Node>& child = node->subkeys[part];
    if (!child) child.reset(new Node);
    node = child.get();
  }
  return node;
}

MemoryRegistry::Handle* MemoryRegistry::Lookup(RegKey key) const {
  Handle* handle = reinterpret_cast<Handle*>(key);
  return handles_.count(handle) ? handle : nullptr;
}

// Counts the call and answers with an injected fault when one is due.
long MemoryRegistry::Count(RegOp op) {
  int call = ++calls_[op];
  for (auto it = faults_.begin(); it != faults_.end(); ++it) {
    if (it->op == op && it->call == call) {
      long error = it->error;
      faults_.erase(it);
      return error;
    }
  }
  return kRegOk;
}

// Takes the new handle into the open set; freed again if the set cannot grow.
long MemoryRegistry::Register(Handle* handle, RegKey* key) {
  std::unique_ptr<Handle> owned(handle);
  handles_.insert(handle);
  *key = reinterpret_cast<RegKey>(owned.release());
  return kRegOk;
}

long MemoryRegistry::OpenKey(const char* path, RegAccess access, RegKey* key) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (!key) return kRegInvalidParameter;
  *key = nullptr;
  if (long fault = Count(RegOp::Open)) return fault;
  Node* node = Find(path ? path : "");
  if (!node) return kRegNotFound;
  return Register(new Handle{node, access == RegAccess::Read, access == RegAccess::SetValue}, key);
}

long MemoryRegistry::CreateKey(const char* path, RegKey* key) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (!key) return kRegInvalidParameter;
  *key = nullptr;
  if (long fault = Count(RegOp::Create)) return fault;
  return Register(new Handle{Make(path ? path : ""), true, true}, key);
}

long MemoryRegistry::QueryValue(RegKey key, const char* name, void* data, uint32_t* size) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (long fault = Count(RegOp::Query)) return fault;
  Handle* handle = Lookup(key);
  if (!handle) return kRegInvalidHandle;
  if (!handle->canRead) return kRegAccessDenied;
  if (!size) return kRegInvalidParameter;
  auto it = handle->node->values.find(name ? name : "");
  if (it == handle->node->values.end()) return kRegNotFound;
  const std::string& bytes = it->second;
  uint32_t capacity = *size;
  *size = static_cast<uint32_t>(bytes.size());
  if (!data) return kRegOk;
  if (bytes.size() > capacity) return kRegMoreData;
  std::memcpy(data, bytes.data(), bytes.size());
  return kRegOk;
}

long MemoryRegistry::SetValue(RegKey key, const char* name, const void* data, uint32_t size) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (long fault = Count(RegOp::Set)) return fault;
  Handle* handle = Lookup(key);
  if (!handle) return kRegInvalidHandle;
  if (!handle->canWrite) return kRegAccessDenied;
  if (!data && size) return kRegInvalidParameter;
  std::string bytes(static_cast<const char*>(data), size);
  handle->node->values[name ? name : ""] = bytes;
  return kRegOk;
}

long MemoryRegistry::EnumSubkey(RegKey key, uint32_t index, char* name, uint32_t capacity) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (long fault = Count(RegOp::Enum)) return fault;
  Handle* handle = Lookup(key);
  if (!handle) return kRegInvalidHandle;
  if (!handle->canRead) return kRegAccessDenied;
  if (index >= handle->node->subkeys.size()) return kRegNoMoreItems;
  auto it = handle->node->subkeys.begin();
  std::advance(it, index);
  if (!name || it->first.size() + 1 > capacity) return kRegMoreData;
  std::memcpy(name, it->first.c_str(), it->first.size() + 1);
  return kRegOk;
}

long MemoryRegistry::QueryInfo(RegKey key, uint32_t* subkeys, uint32_t* values) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (long fault = Count(RegOp::Info)) return fault;
  Handle* handle = Lookup(key);
  if (!handle) return kRegInvalidHandle;
  if (!handle->canRead) return kRegAccessDenied;
  if (subkeys) *subkeys = static_cast<uint32_t>(handle->node->subkeys.size());
  if (values) *values = static_cast<uint32_t>(handle->node->values.size());
  return kRegOk;
}

long MemoryRegistry::CloseKey(RegKey key) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Handle* handle = Lookup(key);
  if (!handle) return kRegInvalidHandle;
  handles_.erase(handle);
  delete handle;
  // A failed close still releases the handle, as the real registry does.
  return Count(RegOp::Close);
}

void MemoryRegistry::FailNth(RegOp op, int n, long error) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  faults_.push_back({op, calls_[op] + n, error});
}

int MemoryRegistry::Calls(RegOp op) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto it = calls_.find(op);
  return it == calls_.end() ? 0 : it->second;
}

int MemoryRegistry::OpenHandles() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return static_cast<int>(handles_.size());
}

void MemoryRegistry::Put(const std::string& path, const std::string& name,
                         const std::string& text) {
  PutBytes(path, name, std::string(text.c_str(), text.size() + 1));
}

void MemoryRegistry::PutBytes(const std::string& path, const std::string& name,
                              const std::string& bytes) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Make(path)->values[name] = bytes;
}

bool MemoryRegistry::Get(const std::string& path, const std::string& name,
                         std::string* text) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Node* node = Find(path);
  if (!node) return false;
  auto it = node->values.find(name);
  if (it == node->values.end()) return false;
  if (text) *text = std::string(it->second.c_str());  // up to the terminator
  return true;
}

bool MemoryRegistry::Remove(const std::string& path, const std::string& name) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Node* node = Find(path);
  return node && node->values.erase(name) > 0;
}

bool MemoryRegistry::HasKey(const std::string& path) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return Find(path) != nullptr;
}

std::map<std::string, std::string> MemoryRegistry::Snapshot(const std::string& path) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  std::map<std::string, std::string> result;
  struct Walker {
    static void Walk(const Node& node, const std::string& prefix,
                     std::map<std::string, std::string>& out) {
      for (const auto& value : node.values) out[prefix + "|" + Upper(value.first)] = value.second;
      for (const auto& sub : node.subkeys) {
        Walk(*sub.second, prefix.empty() ? Upper(sub.first) : prefix + "\\" + Upper(sub.first),
             out);
      }
    }
  };
  if (const Node* node = Find(path)) Walker::Walk(*node, "", result);
  return result;
}

}  // namespace seams
