// The registry seam: every registry call of the system goes through one interface.
//
// The system only ever works under HKEY_LOCAL_MACHINE, so paths are relative to it. Production
// uses the Win32 backend; native tests use the in-memory backend, which behaves like the real
// registry where the system depends on it (names without case, access rights enforced, sizes in
// bytes) and can be told to fail the k-th call of a kind.
//
// Keys are opened for reading with read access and for writing with set-value access only, so a
// user without administrator rights can still run the saver; only the setup program creates keys.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace seams {

// Results are the Win32 error codes, so a backend can pass the system's answer straight through.
constexpr long kRegOk = 0;
constexpr long kRegNotFound = 2;           // ERROR_FILE_NOT_FOUND
constexpr long kRegAccessDenied = 5;       // ERROR_ACCESS_DENIED
constexpr long kRegInvalidHandle = 6;      // ERROR_INVALID_HANDLE
constexpr long kRegInvalidParameter = 87;  // ERROR_INVALID_PARAMETER
constexpr long kRegMoreData = 234;         // ERROR_MORE_DATA
constexpr long kRegNoMoreItems = 259;      // ERROR_NO_MORE_ITEMS
constexpr long kRegWrongType = 1629;       // ERROR_DATATYPE_MISMATCH

typedef struct RegKeyHandle__* RegKey;

enum class RegAccess {
  Read,      // query values, query key information, enumerate subkeys
  SetValue,  // set values only
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens an existing key under HKEY_LOCAL_MACHINE.
  virtual long OpenKey(const char* path, RegAccess access, RegKey* key) = 0;
  // Opens a key, creating it and any missing parent (the setup program only). The key may be
  // read and written.
  virtual long CreateKey(const char* path, RegKey* key) = 0;
  // The raw query: up to *size bytes of the value's data into data; *size becomes the data's
  // size. kRegMoreData when the data is larger than the buffer. Every value of the system is text:
  // a value of another type (a number or bytes someone stored by hand) is kRegWrongType, never
  // its bytes read as text.
  virtual long QueryValue(RegKey key, const char* name, void* data, uint32_t* size) = 0;
  // Stores size bytes as a REG_SZ value.
  virtual long SetValue(RegKey key, const char* name, const void* data, uint32_t size) = 0;
  // Name of the index-th subkey into name (capacity bytes with the terminator).
  virtual long EnumSubkey(RegKey key, uint32_t index, char* name, uint32_t capacity) = 0;
  // Number of subkeys and of values (either pointer may be null).
  virtual long QueryInfo(RegKey key, uint32_t* subkeys, uint32_t* values) = 0;
  virtual long CloseKey(RegKey key) = 0;

  // Reads a string value into a buffer of `capacity` bytes. The text is always terminated: a
  // value that does not fit with its terminator (a value that exactly fills the buffer without
  // one included) is refused with kRegMoreData. On any failure the buffer holds the empty text.
  long QueryString(RegKey key, const char* name, char* buffer, uint32_t capacity);
  // Stores text and its terminating zero as a REG_SZ value.
  long SetString(RegKey key, const char* name, const char* text);
};

// The registry in force for the whole process: the Win32 backend on Windows, a process-wide
// empty in-memory registry natively, unless a test installed another.
Registry& CurrentRegistry();
// Installs a backend (nullptr restores the default); returns the previous one.
Registry* InstallRegistry(Registry* registry);

#ifdef _WIN32
// The backend over the real registry.
Registry& Win32Registry();
#endif

// An open key of the current registry that is closed when it goes out of scope, so that every
// return path closes it.
class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() { Close(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  long Open(const char* path, RegAccess access);
  long Create(const char* path);
  void Close();
  bool IsOpen() const { return key_ != nullptr; }

  long QueryString(const char* name, char* buffer, uint32_t capacity);
  long SetString(const char* name, const char* text);
  long QueryInfo(uint32_t* subkeys, uint32_t* values);
  long EnumSubkey(uint32_t index, char* name, uint32_t capacity);

 private:
  Registry* registry_ = nullptr;
  RegKey key_ = nullptr;
};

// Installs a backend for the lifetime of a scope (tests).
class ScopedRegistry {
 public:
  explicit ScopedRegistry(Registry* registry) : previous_(InstallRegistry(registry)) {}
  ~ScopedRegistry() { InstallRegistry(previous_); }
  ScopedRegistry(const ScopedRegistry&) = delete;
  ScopedRegistry& operator=(const ScopedRegistry&) = delete;

 private:
  Registry* previous_;
};

// The operations a test can make fail.
enum class RegOp { Open, Create, Query, Set, Enum, Info, Close };

// A registry held in memory. Key and value names compare without case, like the real registry's.
// Access rights are enforced: a key opened for reading cannot be written and one opened to set
// values cannot be read.
class MemoryRegistry : public Registry {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  long OpenKey(const char* path, RegAccess access, RegKey* key) override;
  long CreateKey(const char* path, RegKey* key) override;
  long QueryValue(RegKey key, const char* name, void* data, uint32_t* size) override;
  long SetValue(RegKey key, const char* name, const void* data, uint32_t size) override;
  long EnumSubkey(RegKey key, uint32_t index, char* name, uint32_t capacity) override;
  long QueryInfo(RegKey key, uint32_t* subkeys, uint32_t* values) override;
  long CloseKey(RegKey key) override;

  // Fault injection: the n-th call (1 = the next one) of `op` from now on fails with `error`.
  void FailNth(RegOp op, int n, long error = kRegAccessDenied);
  // Calls of `op` made so far (failed ones included).
  int Calls(RegOp op) const;
  // Keys opened or created and not yet closed.
  int OpenHandles() const;

  // Direct access for tests, bypassing handles, access rights and fault injection.
  void Put(const std::string& path, const std::string& name, const std::string& text);
  void PutBytes(const std::string& path, const std::string& name, const std::string& bytes);
  bool Get(const std::string& path, const std::string& name, std::string* text) const;
  bool Remove(const std::string& path, const std::string& name);
  bool HasKey(const std::string& path) const;
  // Every value below `path` as "subkey\path|NAME" -> data, names upper-cased (for comparing
  // whole trees before and after an operation).
  std::map<std::string, std::string> Snapshot(const std::string& path) const;

 private:
  struct Node;
  struct Handle;
  Node* Find(const std::string& path) const;
  Node* Make(const std::string& path);
  Handle* Lookup(RegKey key) const;
  long Count(RegOp op);
  long Register(Handle* handle, RegKey* key);

  mutable std::recursive_mutex mutex_;
  std::unique_ptr<Node> root_;
  std::set<Handle*> handles_;
  std::map<RegOp, int> calls_;
  struct Fault {
    RegOp op;
    int call;
    long error;
  };
  std::vector<Fault> faults_;
};

}  // namespace seams
