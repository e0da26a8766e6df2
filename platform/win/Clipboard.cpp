// The clipboard: open/empty/set/get with ownership of the data, the synthesised text and
// picture formats, registered formats from the shared atom table, and the hand-over of the
// content to and from the system clipboard through the backend.
#include <algorithm>
#include <cstring>
#include <map>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/GlobalBlock.h"
#include "platform/win/WindowDC.h"
#include "platform/win/WindowSystem.h"

using namespace platform::win;

namespace {

struct ClipboardState {
  bool open = false;
  HWND opener = nullptr;
  HWND owner = nullptr;
  bool changed = false;
  std::map<UINT, HANDLE> data;         // what was set (the clipboard owns it)
  std::map<UINT, HANDLE> synthesised;  // made on request from another format
  std::vector<UINT> order;             // formats in the order they were set
};

ClipboardState& C() {
  static ClipboardState* c = new ClipboardState();
  return *c;
}

void Release(UINT format, HANDLE h) {
  if (!h) return;
  if (format == CF_BITMAP || format == CF_PALETTE)
    DeleteObject(h);
  else
    GlobalFree(h);
}

void Clear() {
  ClipboardState& c = C();
  for (auto& [f, h] : c.data) Release(f, h);
  for (auto& [f, h] : c.synthesised) Release(f, h);
  c.data.clear();
  c.synthesised.clear();
  c.order.clear();
}

std::vector<uint8_t> BlockBytes(HANDLE h) {
  const LockedGlobal block(h);
  const auto* p = block.As<const uint8_t>();
  if (!p) return {};  // a lock that fails reads as no data
  return std::vector<uint8_t>(p, p + block.Size());
}

HGLOBAL BlockOf(const void* data, size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!h) return nullptr;
  if (size) std::memcpy(LockedGlobal(h).As<void>(), data, size);
  return h;
}

// Text in a block, read only up to its terminator or the block's end.
std::u16string WideText(HANDLE h) {
  const std::vector<uint8_t> b = BlockBytes(h);
  std::u16string out;
  for (size_t i = 0; i + 1 < b.size(); i += 2) {
    const char16_t u = char16_t(b[i] | (b[i + 1] << 8));
    if (!u) break;
    out.push_back(u);
  }
  return out;
}

std::string NarrowText(HANDLE h) {
  const std::vector<uint8_t> b = BlockBytes(h);
  const auto end = std::find(b.begin(), b.end(), uint8_t(0));
  return std::string(b.begin(), end);
}

HGLOBAL WideBlock(const std::u16string& s) {
  std::vector<uint8_t> bytes;
  for (char16_t u : s) bytes.insert(bytes.end(), {uint8_t(u), uint8_t(u >> 8)});
  bytes.insert(bytes.end(), {0, 0});
  return BlockOf(bytes.data(), bytes.size());
}

HGLOBAL NarrowBlock(const std::string& s) { return BlockOf(s.c_str(), s.size() + 1); }

// A packed DIB (header, colour table, pixels) of a bitmap, as 32-bit bottom-up.
HGLOBAL DibOfBitmap(HBITMAP bitmap) {
  BITMAP bm;
  if (!GetObjectW(bitmap, sizeof bm, &bm)) return nullptr;
  BITMAPINFOHEADER h{40, bm.bmWidth, bm.bmHeight, 1, 32, BI_RGB, DWORD(bm.bmWidth * 4 * bm.bmHeight),
                     0,  0,          0,           0};
  std::vector<uint8_t> bytes(sizeof h + h.biSizeImage);
  std::memcpy(bytes.data(), &h, sizeof h);
  const OwnedMemoryDC dc(nullptr);
  const int lines = GetDIBits(dc, bitmap, 0, UINT(bm.bmHeight), bytes.data() + sizeof h,
                              reinterpret_cast<BITMAPINFO*>(bytes.data()), DIB_RGB_COLORS);
  return lines ? BlockOf(bytes.data(), bytes.size()) : nullptr;
}

HBITMAP BitmapOfDib(HANDLE block) {
  const std::vector<uint8_t> b = BlockBytes(block);
  if (b.size() < sizeof(BITMAPINFOHEADER)) return nullptr;
  BITMAPINFOHEADER h;
  std::memcpy(&h, b.data(), sizeof h);
  if (h.biSize < sizeof h || h.biSize > b.size()) return nullptr;
  size_t table = 0;
  if (h.biBitCount <= 8)
    table = size_t(h.biClrUsed ? h.biClrUsed : (1u << h.biBitCount)) * 4;
  else if (h.biCompression == BI_BITFIELDS)
    table = 12;
  const uint64_t absHeight = uint64_t(h.biHeight < 0 ? -int64_t(h.biHeight) : h.biHeight);
  const uint64_t stride = ((uint64_t(uint32_t(h.biWidth)) * h.biBitCount + 31) / 32) * 4;
  const uint64_t offset = uint64_t(h.biSize) + table;
  if (h.biWidth <= 0 || table > 1024 || offset + stride * absHeight > b.size())
    return nullptr;  // never read past
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 1024, 0);
  std::memcpy(info.data(), b.data(), sizeof h);
  reinterpret_cast<BITMAPINFOHEADER*>(info.data())->biSize = 40;
  std::memcpy(info.data() + sizeof h, b.data() + h.biSize, table);
  const WindowDC screen(nullptr);
  return CreateDIBitmap(screen, reinterpret_cast<BITMAPINFOHEADER*>(info.data()), CBM_INIT, b.data() + offset,
                        reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
}

bool Has(UINT f) { return C().data.count(f) > 0; }

// The formats a present one can be turned into.
bool Synthesisable(UINT format) {
  switch (format) {
    case CF_TEXT:
      return Has(CF_UNICODETEXT) || Has(CF_OEMTEXT);
    case CF_OEMTEXT:
      return Has(CF_UNICODETEXT) || Has(CF_TEXT);
    case CF_UNICODETEXT:
      return Has(CF_TEXT) || Has(CF_OEMTEXT);
    case CF_DIB:
      return Has(CF_BITMAP);
    case CF_BITMAP:
      return Has(CF_DIB);
    default:
      return false;
  }
}

HANDLE Synthesise(UINT format) {
  switch (format) {
    case CF_TEXT:
    case CF_OEMTEXT: {
      const HANDLE src = Has(CF_UNICODETEXT) ? C().data[CF_UNICODETEXT] : nullptr;
      if (src) return NarrowBlock(platform::Utf16ToMultiByte(WideText(src), CP_ACP));
      return NarrowBlock(NarrowText(C().data[format == CF_TEXT ? CF_OEMTEXT : CF_TEXT]));
    }
    case CF_UNICODETEXT: {
      const HANDLE src = Has(CF_TEXT) ? C().data[CF_TEXT] : C().data[CF_OEMTEXT];
      return WideBlock(platform::MultiByteToUtf16(NarrowText(src), CP_ACP));
    }
    case CF_DIB:
      return DibOfBitmap(static_cast<HBITMAP>(C().data[CF_BITMAP]));
    case CF_BITMAP:
      return BitmapOfDib(C().data[CF_DIB]);
    default:
      return nullptr;
  }
}

void Put(UINT format, HANDLE h) {
  ClipboardState& c = C();
  if (auto it = c.data.find(format); it != c.data.end()) {
    if (it->second != h) Release(format, it->second);
  } else {
    c.order.push_back(format);
  }
  c.data[format] = h;
  for (auto& [f, s] : c.synthesised) Release(f, s);
  c.synthesised.clear();
}

// Takes foreign content from the system clipboard when another program changed it.
void ImportForeign() {
  Backend* b = CurrentBackend();
  std::vector<ClipboardItem> items;
  if (!b || !b->ClipboardForeign(items)) return;
  Clear();
  C().owner = nullptr;
  for (const ClipboardItem& item : items) {
    UINT format = item.format;
    if (!item.name.empty()) format = RegisterClipboardFormatA(item.name.c_str());
    if (!format) continue;
    if (HGLOBAL h = BlockOf(item.bytes.data(), item.bytes.size())) Put(format, h);
  }
}

}  // namespace

namespace platform::win {
void ResetClipboard() {
  Clear();
  C() = ClipboardState();
}
}  // namespace platform::win

BOOL OpenClipboard(HWND owner) {
  ClipboardState& c = C();
  if (c.open && c.opener != owner) return FALSE;
  if (!c.open) ImportForeign();
  c.open = true;
  c.opener = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  ClipboardState& c = C();
  if (!c.open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  c.open = false;
  if (c.changed) {
    c.changed = false;
    std::vector<ClipboardItem> items;
    for (UINT f : c.order) {
      ClipboardItem item;
      item.format = f;
      HANDLE h = c.data[f];
      if (f == CF_BITMAP) {
        const OwnedGlobal dib(DibOfBitmap(static_cast<HBITMAP>(h)));
        if (!dib) continue;
        item.format = CF_DIB;
        item.bytes = BlockBytes(dib.Get());
      } else {
        item.bytes = BlockBytes(h);
      }
      if (f >= 0xC000) item.name = platform::Utf16ToMultiByte(AtomName(ATOM(f)), CP_UTF8);
      items.push_back(std::move(item));
    }
    if (Backend* b = CurrentBackend()) b->ClipboardPublish(items);
  }
  return TRUE;
}

BOOL EmptyClipboard() {
  ClipboardState& c = C();
  if (!c.open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  Clear();
  c.owner = c.opener;
  c.changed = true;
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  ClipboardState& c = C();
  if (!c.open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (!format || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);  // delayed rendering is not offered
    return nullptr;
  }
  Put(format, data);
  c.changed = true;
  return data;
}

HANDLE GetClipboardData(UINT format) {
  ClipboardState& c = C();
  if (!c.open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (auto it = c.data.find(format); it != c.data.end()) return it->second;
  if (auto it = c.synthesised.find(format); it != c.synthesised.end()) return it->second;
  if (!Synthesisable(format)) return nullptr;
  HANDLE h = Synthesise(format);
  if (h) c.synthesised[format] = h;
  return h;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  if (!C().open) ImportForeign();
  return Has(format) || Synthesisable(format);
}

namespace {

std::vector<UINT> Available() {
  std::vector<UINT> out = C().order;
  for (UINT f : {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT, CF_DIB, CF_BITMAP})
    if (!Has(f) && Synthesisable(f)) out.push_back(f);
  return out;
}

}  // namespace

UINT EnumClipboardFormats(UINT format) {
  if (!C().open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return 0;
  }
  const std::vector<UINT> all = Available();
  if (!format) return all.empty() ? 0 : all.front();
  auto it = std::find(all.begin(), all.end(), format);
  if (it == all.end() || it + 1 == all.end()) {
    SetLastError(ERROR_SUCCESS);
    return 0;
  }
  return *(it + 1);
}

int CountClipboardFormats() {
  if (!C().open) ImportForeign();  // another program may have changed it since
  return int(Available().size());
}

UINT RegisterClipboardFormatW(LPCWSTR name) { return name && *name ? AddAtom(name) : 0; }
UINT RegisterClipboardFormatA(LPCSTR name) { return name && *name ? AddAtom(ToWide(name)) : 0; }

int GetClipboardFormatNameA(UINT format, LPSTR buffer, int size) {
  if (format < 0xC000 || !buffer || size <= 0) return 0;
  return int(GlobalGetAtomNameA(ATOM(format), buffer, size));
}

HWND GetClipboardOwner() { return C().owner; }
