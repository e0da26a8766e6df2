// Copy, cut and paste of what the slide strip has selected: a whole page or one of its parts,
// through the editor's four registered clipboard formats, and pictures and plain text copied in
// other programs. The blocks carry a text part's text itself (its file goes with a cut), and a
// paste writes it to a file of its own, so two pages never share one text file. Each paste
// records exactly what it changed, so one that takes the message over the size limit is taken
// back without a question.
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "editor/TFrameBox.h"
#include "editor/TMsgBox.h"
#include "editor/TfrmMain.h"
#include "editor/clipblock/ClipBlock.h"
#include "mms/SlideTextFile.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "mms/TVisualMediaItem.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TClipboard.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TJPEGImage.h"
#include "platform/forms/TLabel.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Win.h"

namespace {

constexpr const char* kImageFormat = "K3VN_MMS_CLIPBRD_TYPE_IMG_ITEM";
constexpr const char* kTextFormat = "K3VN_MMS_CLIPBRD_TYPE_TEXT_ITEM";
constexpr const char* kAudioFormat = "K3VN_MMS_CLIPBRD_TYPE_AUDIO_ITEM";
constexpr const char* kFrameFormat = "K3VN_MMS_CLIPBRD_TYPE_FRAME";
constexpr int kMaxTextUnits = 1000;
constexpr int kJpegQuality = 80;

// The slots of a page in the order the clipboard block keeps them.
constexpr int kBlockSlotTypes[clipblock::kSlotCount] = {
    TMediaItem::kAudio, TMediaItem::kText, TMediaItem::kImage, TMediaItem::kVideo, TMediaItem::kRef};

UINT Format(const char* name) { return RegisterClipboardFormatA(name); }

bool Available(const char* name) { return IsClipboardFormatAvailable(Format(name)) != FALSE; }

bool HasFocus(TWinControl* control) { return control && control->HandleAllocated() && control->Focused(); }

// The text of a text item's file, without its leading byte-order marks; false when the file
// cannot be read (an empty file is an empty text).
bool ReadTextOf(const TMediaItem* item, std::u16string* text) {
  text->clear();
  if (!item || item->Path.empty()) return false;
  if (!FileExists(item->Path.c_str())) return false;
  if (std::unique_ptr<char16_t[]> units = ReadItemText(item)) *text = units.get();
  size_t marks = 0;
  while (marks < text->size() && (*text)[marks] == 0xFEFF) ++marks;
  text->erase(0, marks);
  return true;
}

clipblock::Item ToBlock(const TMediaItem& item, bool withText) {
  clipblock::Item out;
  out.path = item.Path;
  out.extra = item.Extra;
  out.begin = item.Begin;
  out.end = item.End;
  out.dur = item.Dur;
  if (auto* visual = dynamic_cast<const TVisualMediaItem*>(&item)) {
    out.region = visual->Region;
    out.type = visual->Type;
  }
  if (withText) out.hasText = ReadTextOf(&item, &out.text);
  return out;
}

std::unique_ptr<TMediaItem> FromBlock(const clipblock::Item& item, bool visual) {
  if (!visual) return std::make_unique<TMediaItem>(item.path, item.extra, item.begin, item.end, item.dur);
  return std::make_unique<TVisualMediaItem>(item.type, item.region, item.path, item.extra, item.begin,
                                            item.end, item.dur);
}

// Puts a block under a registered format: false when the clipboard could not be had.
bool PutBlock(HWND owner, const char* name, const std::vector<uint8_t>& bytes) {
  const UINT format = Format(name);
  if (!format || !OpenClipboard(owner)) return false;
  bool put = false;
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size())) {
    if (void* p = GlobalLock(block)) {
      std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(p));
      GlobalUnlock(block);
      put = SetClipboardData(format, block) != nullptr;
    }
    if (!put) GlobalFree(block);
  }
  CloseClipboard();
  return put;
}

// Reads the block under a registered format: false when the clipboard could not be had or the
// block is not one of this run of this kind.
bool ReadBlock(HWND owner, const char* name, clipblock::Kind kind, clipblock::Block* block) {
  const UINT format = Format(name);
  if (!format || !OpenClipboard(owner)) return false;
  bool read = false;
  if (HANDLE data = GetClipboardData(format)) {
    const SIZE_T size = GlobalSize(data);
    const void* p = size ? GlobalLock(data) : nullptr;
    if (p) {
      read = clipblock::Read(static_cast<const uint8_t*>(p), size, kind, clipblock::RunToken(), block);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return read;
}

// Every line break as CR LF, the way the text editor's memo writes them.
std::u16string WithCrLf(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r') {
      out += u"\r\n";
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else if (c == u'\n') {
      out += u"\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

AnsiString TfrmMain::NewPasteFileName(const AnsiString& folder, const char* stem, const char* ext) {
  return document.NewPasteFileName(folder, stem, ext);
}

AnsiString TfrmMain::WritePastedText(const std::u16string& text) { return document.WritePastedText(text); }

// --- Copying ---

int TfrmMain::CopyImageItem(const TMediaItem* item) {
  if (item)
    PutBlock(Handle(), kImageFormat,
             clipblock::WriteItem(clipblock::Kind::Picture, ToBlock(*item, false), clipblock::RunToken()));
  return 0;
}

int TfrmMain::CopyTextItem(const TMediaItem* item) {
  if (item)
    PutBlock(Handle(), kTextFormat,
             clipblock::WriteItem(clipblock::Kind::Text, ToBlock(*item, true), clipblock::RunToken()));
  return 0;
}

int TfrmMain::CopyAudioItem(const TMediaItem* item) {
  if (item)
    PutBlock(Handle(), kAudioFormat,
             clipblock::WriteItem(clipblock::Kind::Sound, ToBlock(*item, false), clipblock::RunToken()));
  return 0;
}

int TfrmMain::CopyFrame(const TMmsFrame* frame) {
  if (!frame) return 0;
  clipblock::Page page;
  page.dur = frame->Dur;
  for (int slot = 0; slot < clipblock::kSlotCount; ++slot) {
    const TMediaItem* item = frame->GetItem(kBlockSlotTypes[slot]);
    page.filled[size_t(slot)] = item != nullptr;
    if (item) page.items[size_t(slot)] = ToBlock(*item, slot == clipblock::kTextSlot);
  }
  PutBlock(Handle(), kFrameFormat, clipblock::WritePage(page, clipblock::RunToken()));
  return 0;
}

int TfrmMain::CopySelection(int index) {
  if (!IsPage(index)) return kNoSuchPage;
  const TMmsFrame* frame = Mms()->Body->GetFrame(index);
  if (selection == StripSelection::kPage) return CopyFrame(frame);
  if (selection == StripSelection::kText) return CopyTextItem(frame->GetItem(TMediaItem::kText));
  if (selection == StripSelection::kPicture) return CopyImageItem(frame->GetItem(TMediaItem::kImage));
  if (selection == StripSelection::kSound) return CopyAudioItem(frame->GetItem(TMediaItem::kAudio));
  return kNothingSelected;
}

void TfrmMain::actCopyExecute(TObject*) {
  // The subject and the duration field copy their own selection.
  for (TCustomEdit* edit : std::initializer_list<TCustomEdit*>{memo_title, Edit_Cur}) {
    if (HasFocus(edit)) {
      SendMessageA(edit->Handle(), WM_COPY, 0, 0);
      return;
    }
  }
  if (!IsPage(document.CurrentPage())) return;
  if (OpenClipboard(Handle())) {
    EmptyClipboard();
    CloseClipboard();
  }
  CopySelection(document.CurrentPage());
}

void TfrmMain::actCutExecute(TObject* sender) {
  for (TCustomEdit* edit : std::initializer_list<TCustomEdit*>{memo_title, Edit_Cur}) {
    if (HasFocus(edit)) {
      SendMessageA(edit->Handle(), WM_CUT, 0, 0);
      return;
    }
  }
  actCopyExecute(sender);
  // Whether a part may be deleted follows the selection now, not the last popup.
  UpdatePopupMenu();
  DeleteExecute();
  GetPduSize();
}

// --- Pasting ---

std::unique_ptr<TMediaItem> TfrmMain::PasteImageItem() {
  clipblock::Block block;
  if (!ReadBlock(Handle(), kImageFormat, clipblock::Kind::Picture, &block)) return nullptr;
  return FromBlock(block.item, true);
}

std::unique_ptr<TMediaItem> TfrmMain::PasteAudioItem() {
  clipblock::Block block;
  if (!ReadBlock(Handle(), kAudioFormat, clipblock::Kind::Sound, &block)) return nullptr;
  return FromBlock(block.item, false);
}

std::unique_ptr<TMediaItem> TfrmMain::PasteTextItem() {
  clipblock::Block block;
  if (!ReadBlock(Handle(), kTextFormat, clipblock::Kind::Text, &block)) return nullptr;
  std::unique_ptr<TMediaItem> item = FromBlock(block.item, true);
  if (block.item.hasText) {
    const AnsiString path = WritePastedText(block.item.text);
    if (path.IsEmpty()) return nullptr;
    item->SetPath(path.c_str());
  }
  return item;
}

std::unique_ptr<TMmsFrame> TfrmMain::PasteFrame() {
  clipblock::Block block;
  if (!ReadBlock(Handle(), kFrameFormat, clipblock::Kind::Page, &block)) return nullptr;
  auto frame = std::make_unique<TMmsFrame>(block.page.dur);
  for (int slot = 0; slot < clipblock::kSlotCount; ++slot) {
    if (!block.page.filled[size_t(slot)]) continue;
    const clipblock::Item& fields = block.page.items[size_t(slot)];
    std::unique_ptr<TMediaItem> item = FromBlock(fields, slot != clipblock::kSoundSlot);
    if (slot == clipblock::kTextSlot && fields.hasText) {
      const AnsiString path = WritePastedText(fields.text);
      if (path.IsEmpty()) return nullptr;
      item->SetPath(path.c_str());
    }
    frame->SetItem(std::move(item), kBlockSlotTypes[slot]);
  }
  return frame;
}

std::unique_ptr<TMediaItem> TfrmMain::PasteText() {
  if (!OpenClipboard(Handle())) return nullptr;
  std::string bytes;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    const SIZE_T size = GlobalSize(data);
    if (const char* p = size ? static_cast<const char*>(GlobalLock(data)) : nullptr) {
      size_t n = 0;
      while (n < size && p[n]) ++n;  // within the block, whatever its terminator
      bytes.assign(p, n);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  const std::u16string text = WithCrLf(platform::MultiByteToUtf16(bytes));
  if (int(text.size()) > kMaxTextUnits) {
    ShowMsgBox("STR_Main_Text_Message");
    return nullptr;
  }
  const AnsiString path = WritePastedText(text);
  if (path.IsEmpty()) return nullptr;
  return std::make_unique<TVisualMediaItem>(TMediaItem::kText, path.c_str(), 0);
}

std::unique_ptr<TMediaItem> TfrmMain::PasteBitmap() {
  try {
    TBitmap bitmap;
    bitmap.Assign(Clipboard());
    bitmap.SetPixelFormat(pf24bit);
    TJPEGImage jpeg;
    jpeg.PixelFormat = jf24Bit;
    jpeg.Assign(&bitmap);
    jpeg.CompressionQuality = kJpegQuality;
    jpeg.Compress();
    const AnsiString path = NewPasteFileName(document.imageDir, "Img", ".jpg");
    jpeg.SaveToFile(path);
    return std::make_unique<TVisualMediaItem>(TMediaItem::kImage, path.c_str(), 0);
  } catch (const EOutOfMemory&) {
    throw;
  } catch (const Exception&) {
    // A clipboard that cannot be opened, a bitmap that cannot be read or converted, a file that
    // cannot be written: nothing is pasted. Running out of memory, and whatever is not the form
    // library's own failure, goes on to the application's handler.
    return nullptr;
  }
}

int TfrmMain::PasteClipboard(int index, TPasteRecord* record) {
  if (index < 0) return kNoSuchPage;
  TPasteRecord scratch;
  TPasteRecord& done = record ? *record : scratch;
  done.curFrameBefore = document.CurrentPage();

  if (Available(kFrameFormat)) {
    if (!document.HasRoomForPage()) {
      std::unique_ptr<TFrameBox> box(NewBox<TFrameBox>(this));
      box->ShowModal();
      return kTooManyPages;
    }
    std::unique_ptr<TMmsFrame> frame = PasteFrame();
    if (!frame) return 0;  // the clipboard could not be had, or the block is not ours
    document.PastePage(index, std::move(frame), &done);
    UpdateStripScrollBar();
    return 0;
  }

  // The first format held, in this order, gives the item.
  struct Source {
    const char* registered;
    UINT plain;
    int type;
    std::unique_ptr<TMediaItem> (TfrmMain::*paste)();
  };
  const Source sources[] = {
      {kAudioFormat, 0, TMediaItem::kAudio, &TfrmMain::PasteAudioItem},
      {nullptr, CF_TEXT, TMediaItem::kText, &TfrmMain::PasteText},
      {kTextFormat, 0, TMediaItem::kText, &TfrmMain::PasteTextItem},
      {nullptr, CF_BITMAP, TMediaItem::kImage, &TfrmMain::PasteBitmap},
      {kImageFormat, 0, TMediaItem::kImage, &TfrmMain::PasteImageItem},
  };
  const Source* source = nullptr;
  for (const Source& s : sources) {
    if (s.registered ? Available(s.registered) : IsClipboardFormatAvailable(s.plain) != FALSE) {
      source = &s;
      break;
    }
  }
  if (!source) return 0;  // nothing to paste: no page is appended for it
  // At the page limit nothing is read (nor written): the page-limit box, -26.
  if (!document.HasRoomForItem(index)) return NewFrame();
  std::unique_ptr<TMediaItem> item = (this->*source->paste)();
  if (!item) return 0;
  if (const int result = document.PasteItem(index, source->type, std::move(item), &done); result != 0)
    return result;
  if (done.appended) ShowAppendedPage(done.page);  // as the new-page command shows one
  UpdateStripScrollBar();
  return 0;
}

void TfrmMain::UndoPaste(TPasteRecord& record) {
  if (!Mms()) return;
  document.UndoPaste(record);
  UpdateStripScrollBar();
}

void TfrmMain::actPasteExecute(TObject*) {
  document.SetModified(true);
  if (HasFocus(Edit_Cur)) return;
  if (StrToIntDef(Label_Size->Caption(), 0) >= kRefusedSizeKB) {
    Label_Size->SetCaption("300");
    ShowMsgBox("SizeHint");
    return;
  }
  if (HasFocus(memo_title)) {
    SendMessageA(memo_title->Handle(), WM_PASTE, 0, 0);
    return;
  }
  TPasteRecord record;
  PasteClipboard(
      document.CurrentPage() >= 0 ? document.CurrentPage() : (Mms() ? Mms()->Body->GetFrameCount() : 0),
      &record);
  GetPduSize();
  if (CheckMmsSize()) {
    UndoPaste(record);
    RestoreMeasure();
  }
  RefreshFrameList();
}
