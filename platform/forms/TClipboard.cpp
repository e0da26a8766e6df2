#include "platform/forms/TClipboard.h"

#include <algorithm>
#include <cstring>

#include "platform/forms/ClipboardOpenScope.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TPicture.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/GlobalBlock.h"

namespace {

TClipboard*& Installed() {
  static TClipboard* clipboard = nullptr;
  return clipboard;
}

// The 8-bit text in a block, up to its terminator or the block's end, whichever comes first
// (another program's block need not be terminated).
std::string BlockText(HANDLE data) {
  if (!data) return {};
  const SIZE_T size = GlobalSize(data);
  LockedGlobal lock(data);
  const auto* p = lock.As<const char>();
  if (!p) return {};
  return std::string(p, std::find(p, p + size, '\0'));
}

}  // namespace

TClipboard* Clipboard() {
  if (!Installed()) Installed() = new TClipboard;
  return Installed();
}

TClipboard* SetClipboard(TClipboard* clipboard) { return std::exchange(Installed(), clipboard); }

TClipboard::~TClipboard() {
  if (openCount_) {
    openCount_ = 1;
    Close();
  }
}

void TClipboard::Open() {
  if (openCount_ == 0) {
    window_ = Application ? Application->Handle() : nullptr;
    allocated_ = false;
    if (!window_) {
      window_ = AllocateHWnd(nullptr);
      allocated_ = true;
    }
    if (!OpenClipboard(window_)) {
      if (allocated_) DeallocateHWnd(window_);
      window_ = nullptr;
      allocated_ = false;
      throw Exception("Cannot open clipboard");
    }
    emptied_ = false;
  }
  ++openCount_;
}

void TClipboard::Close() {
  if (openCount_ == 0) return;
  if (--openCount_ > 0) return;
  CloseClipboard();
  if (allocated_) DeallocateHWnd(window_);
  window_ = nullptr;
  allocated_ = false;
}

void TClipboard::Clear() {
  ClipboardOpenScope open(*this);
  EmptyClipboard();
}

void TClipboard::Adding() {
  if (openCount_ && !emptied_) {
    Clear();
    emptied_ = true;
  }
}

void TClipboard::SetBuffer(WORD format, const void* buffer, int size) {
  ClipboardOpenScope open(*this);
  OwnedGlobal data(size >= 0 ? GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, SIZE_T(size)) : nullptr);
  if (!data) throw EOutOfResources("Out of system resources");
  if (buffer && size > 0) {
    LockedGlobal lock(data.Get());
    std::memcpy(lock.As<void>(), buffer, size_t(size));
  }
  Adding();
  if (!SetClipboardData(format, data.Get())) throw EOutOfResources("Out of system resources");
  data.Release();  // the clipboard's now
}

AnsiString TClipboard::AsText() {
  ClipboardOpenScope open(*this);
  return AnsiString(BlockText(GetClipboardData(CF_TEXT)));
}

void TClipboard::SetAsText(const AnsiString& value) { SetBuffer(CF_TEXT, value.c_str(), value.Length() + 1); }

int TClipboard::GetTextBuf(char* buffer, int bufSize) {
  if (!buffer || bufSize <= 0) return 0;
  std::string text;
  {
    ClipboardOpenScope open(*this);
    text = BlockText(GetClipboardData(CF_TEXT));
  }
  const size_t n = std::min(text.size(), size_t(bufSize - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return int(n);
}

void TClipboard::SetTextBuf(const char* buffer) {
  if (!buffer) buffer = "";
  SetBuffer(CF_TEXT, buffer, int(std::strlen(buffer) + 1));
}

bool TClipboard::HasFormat(WORD format) { return IsClipboardFormatAvailable(format); }

HANDLE TClipboard::GetAsHandle(WORD format) {
  ClipboardOpenScope open(*this);
  return GetClipboardData(format);
}

void TClipboard::SetAsHandle(WORD format, HANDLE value) {
  ClipboardOpenScope open(*this);
  Adding();
  SetClipboardData(format, value);
}

void TClipboard::AssignGraphic(TGraphic* graphic) {
  ClipboardOpenScope open(*this);
  WORD format = 0;
  HANDLE rendered = nullptr;
  HPALETTE renderedPalette = nullptr;
  // The graphic renders before the clipboard is emptied, so a graphic that cannot be put
  // leaves what was there.
  graphic->SaveToClipboardFormat(format, rendered, renderedPalette);
  // A block or palette the clipboard did not take stays ours to free.
  OwnedGlobal data(rendered);
  OwnedGdiObject<HPALETTE> palette(renderedPalette);
  Adding();
  if (!SetClipboardData(format, data.Get())) throw EOutOfResources("Out of system resources");
  data.Release();
  if (palette && SetClipboardData(CF_PALETTE, palette)) palette.Release();
}

void TClipboard::Assign(TPersistent* source) {
  if (auto* picture = dynamic_cast<TPicture*>(source)) {
    if (!picture->Graphic()) throw EInvalidGraphic("Unsupported clipboard format");
    AssignGraphic(picture->Graphic());
  } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
    AssignGraphic(graphic);
  } else {
    TPersistent::Assign(source);
  }
}

void TClipboard::AssignTo(TPersistent* dest) {
  if (auto* picture = dynamic_cast<TPicture*>(dest)) {
    ClipboardOpenScope open(*this);
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
      if (format > 0xFFFF || !TPicture::SupportsClipboardFormat(WORD(format))) continue;
      picture->LoadFromClipboardFormat(WORD(format), GetClipboardData(format),
                                       static_cast<HPALETTE>(GetClipboardData(CF_PALETTE)));
      return;
    }
    throw EConvertError("Unsupported clipboard format");
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
    // Bitmaps read the device-independent form, which the clipboard makes from a bitmap.
    ClipboardOpenScope open(*this);
    bitmap->LoadFromClipboardFormat(CF_DIB, GetClipboardData(CF_DIB),
                                    static_cast<HPALETTE>(GetClipboardData(CF_PALETTE)));
    return;
  }
  TPersistent::AssignTo(dest);
}

int TClipboard::FormatCount() { return CountClipboardFormats(); }

WORD TClipboard::Formats(int index) {
  if (index < 0) return 0;
  ClipboardOpenScope open(*this);
  UINT format = EnumClipboardFormats(0);
  while (format && index-- > 0) format = EnumClipboardFormats(format);
  return WORD(format);
}
