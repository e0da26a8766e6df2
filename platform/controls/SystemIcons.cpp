#include "platform/controls/SystemIcons.h"

#include <iterator>

#include "platform/rtl/Resources.h"
#include "platform/win/Win.h"

void RegisterDialogIcons();  // generated from resources/icons

namespace platform::controls {

namespace {

struct SystemIcon {
  std::uintptr_t id;
  const char* resource;
};
constexpr SystemIcon kIcons[] = {{IDI_HAND, "IDI_HAND"},
                                 {IDI_QUESTION, "IDI_QUESTION"},
                                 {IDI_EXCLAMATION, "IDI_EXCLAMATION"},
                                 {IDI_ASTERISK, "IDI_ASTERISK"}};

// An icon is the handle of its resource.
HRSRC ResourceOf(std::uintptr_t id) {
  for (const SystemIcon& icon : kIcons)
    if (icon.id == id) {
      RegisterDialogIcons();
      return FindResourceA(nullptr, icon.resource, RT_RCDATA);
    }
  return nullptr;
}

}  // namespace

bool IconFileOf(HICON icon, const std::uint8_t*& data, std::size_t& size) {
  if (!icon) return false;
  for (const SystemIcon& known : kIcons) {
    HRSRC resource = ResourceOf(known.id);
    if (resource && reinterpret_cast<HICON>(resource) == icon) {
      data = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, resource)));
      size = SizeofResource(nullptr, resource);
      return data != nullptr;
    }
  }
  return false;
}

}  // namespace platform::controls

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
  const auto id = reinterpret_cast<std::uintptr_t>(name);
  HRSRC resource = !instance && !(id >> 16) ? platform::controls::ResourceOf(id) : nullptr;
  if (!resource) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HICON>(resource);
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  return LoadIconW(instance, reinterpret_cast<LPCWSTR>(name));
}
