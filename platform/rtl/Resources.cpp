// The resource registry and the functions over it.
#include "platform/rtl/Resources.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/RtlHooks.h"
#include "platform/rtl/Utf8.h"

namespace {

// A key part: "#<id>" for an integer id, else the name in ASCII upper case.
std::string KeyOf(LPCSTR s) {
  if (IS_INTRESOURCE(s)) return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(s));
  std::string k(s);
  for (char& c : k)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  if (k.size() > 1 && k[0] == '#') return "#" + std::to_string(std::strtoul(k.c_str() + 1, nullptr, 10));
  return k;
}

std::string KeyOf(LPCWSTR s) {
  if (IS_INTRESOURCE(s)) return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(s));
  std::string utf8 = platform::Utf16ToUtf8(s);
  return KeyOf(utf8.c_str());
}

struct Entry {
  const void* data;
  std::size_t size;
};

struct Registry {
  std::mutex mutex;
  std::map<std::pair<std::string, std::string>, std::size_t> index;  // (type, name) -> entry
  std::vector<Entry> entries;                                        // never shrinks, so handles stay valid
  std::map<UINT, std::u16string> strings;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

constexpr std::uintptr_t kResourceBase = 0x0E000000;
constexpr std::uintptr_t kLoadedBase = 0x0F000000;

bool OurModule(HMODULE m) { return m == nullptr || m == HInstance; }

HRSRC Find(HMODULE module, const std::string& name, const std::string& type) {
  if (!OurModule(module)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.mutex);
  auto it = r.index.find({type, name});
  if (it == r.index.end()) {
    bool typeKnown = false;
    for (const auto& [key, value] : r.index)
      if (key.first == type) typeKnown = true;
    SetLastError(typeKnown ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HRSRC>(kResourceBase + it->second);
}

const Entry* EntryOf(std::uintptr_t value, std::uintptr_t base) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.mutex);
  if (value < base || value - base >= r.entries.size()) return nullptr;
  return &r.entries[value - base];
}

const std::u16string* StringOf(UINT id) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.mutex);
  auto it = r.strings.find(id);
  return it == r.strings.end() ? nullptr : &it->second;  // map nodes never move
}

}  // namespace

namespace platform {

void RegisterResource(LPCSTR type, LPCSTR name, const void* data, std::size_t size) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.mutex);
  auto key = std::make_pair(KeyOf(type), KeyOf(name));
  auto it = r.index.find(key);
  if (it != r.index.end()) {
    r.entries[it->second] = Entry{data, size};
    return;
  }
  r.entries.push_back(Entry{data, size});
  r.index.emplace(key, r.entries.size() - 1);
}

void RegisterResourceString(UINT id, const char16_t* text) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.mutex);
  r.strings[id] = text ? text : u"";
}

}  // namespace platform

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
  if (!name || !type) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Find(module, KeyOf(name), KeyOf(type));
}

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
  if (!name || !type) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Find(module, KeyOf(name), KeyOf(type));
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
  std::uintptr_t v = reinterpret_cast<std::uintptr_t>(resource);
  if (!OurModule(module) || !EntryOf(v, kResourceBase)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return reinterpret_cast<HGLOBAL>(kLoadedBase + (v - kResourceBase));
}

LPVOID LockResource(HGLOBAL loaded) {
  const Entry* e = EntryOf(reinterpret_cast<std::uintptr_t>(loaded), kLoadedBase);
  return e ? const_cast<void*>(e->data) : nullptr;
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
  const Entry* e =
      OurModule(module) ? EntryOf(reinterpret_cast<std::uintptr_t>(resource), kResourceBase) : nullptr;
  if (!e) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return static_cast<DWORD>(e->size);
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size) {
  const std::u16string* s = OurModule(instance) ? StringOf(id) : nullptr;
  if (!s || !buffer) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    if (buffer && size > 0) buffer[0] = 0;
    return 0;
  }
  if (size == 0) {
    *reinterpret_cast<const char16_t**>(buffer) = s->c_str();
    return static_cast<int>(s->size());
  }
  std::size_t n = std::min<std::size_t>(s->size(), static_cast<std::size_t>(size - 1));
  if (n > 0 && (*s)[n - 1] >= 0xD800 && (*s)[n - 1] <= 0xDBFF) --n;  // never half a pair
  std::copy(s->begin(), s->begin() + static_cast<std::ptrdiff_t>(n), buffer);
  buffer[n] = 0;
  return static_cast<int>(n);
}

int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size) {
  const std::u16string* s = OurModule(instance) ? StringOf(id) : nullptr;
  if (!s || !buffer || size <= 0) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    if (buffer && size > 0) buffer[0] = 0;
    return 0;
  }
  std::string narrow = platform::Utf16ToMultiByte(*s);
  std::size_t n = std::min<std::size_t>(narrow.size(), static_cast<std::size_t>(size - 1));
  while (n > 0 && n < narrow.size() && StrByteType(narrow.c_str(), static_cast<unsigned>(n)) == mbTrailByte)
    --n;
  std::copy(narrow.begin(), narrow.begin() + static_cast<std::ptrdiff_t>(n), buffer);
  buffer[n] = 0;
  return static_cast<int>(n);
}

AnsiString LoadStr(int id) {
  const std::u16string* s = StringOf(static_cast<UINT>(id));
  return s ? AnsiString(platform::Utf16ToMultiByte(*s)) : AnsiString();
}

AnsiString LoadResString(PResStringRec record) {
  if (auto hook = platform::GetRtlHooks().LoadResString) return hook(record);
  return platform::OwnLoadResString(record);
}

AnsiString platform::OwnLoadResString(const TResStringRec* record) {
  return record ? LoadStr(record->Identifier) : AnsiString();
}
HINSTANCE FindResourceHInstance(HINSTANCE instance) { return instance; }
HINSTANCE FindClassHInstance(const void*) { return HInstance; }

TResourceStream::TResourceStream(HINSTANCE instance, LPCSTR name, LPCSTR type, const AnsiString& shownName) {
  HRSRC r = FindResourceA(instance, name, type);
  if (!r) throw EResNotFound("Resource " + shownName + " not found");
  SetPointer(LockResource(LoadResource(instance, r)), SizeofResource(instance, r));
}

TResourceStream::TResourceStream(HINSTANCE instance, const AnsiString& name, LPCSTR type)
    : TResourceStream(instance, name.c_str(), type, name) {}

TResourceStream* TResourceStream::CreateFromID(HINSTANCE instance, int id, LPCSTR type) {
  return new TResourceStream(instance, MAKEINTRESOURCE(id), type, AnsiString(id));
}

int TResourceStream::Write(const void*, int) {
  throw EStreamError("Can't write to a read-only resource stream");
}
