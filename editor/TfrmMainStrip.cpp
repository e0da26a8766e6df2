// The slide strip: one cell per page (a title band and the picture, text and sound bands) drawn
// into `stripBitmap` and shown at the scroll bar's position; clicks select a page or a part,
// dragging a page's cell moves the page, hovering a band explains what a double click inserts.
#include <algorithm>
#include <memory>
#include <string>

#include "controls/TImButton.h"
#include "editor/StripMarker.h"
#include "editor/StripText.h"
#include "editor/TImgFileManager.h"
#include "editor/TMmsViewer.h"
#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "mms/SlideTextFile.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/forms/FormMessages.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/THintWindow.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TPicture.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"
#include "unicode/UcControls.h"

namespace {

constexpr int kCellWidth = 100, kCellHeight = 172;
constexpr int kTopBand = 28;  // the strip bitmap's band above the cells
constexpr int kTitleBottom = 28, kPictureBottom = 116, kTextBottom = 144;
constexpr TColor kOutline = TColor(0x840000), kSelectedFill = TColor(0xFFC8C8), kFill = TColor(0xDEDEDE);
constexpr TColor kHighlightText = TColor(0x8000000E);

int PageCount(const TK3VNMms* mms) { return mms ? mms->Body->GetFrameCount() : 0; }

// A band's bar, from left to right inclusive (cell coordinates).
struct Bar {
  int left, right;
};
Bar ItemBar(const TMediaItem* item, int type) {
  const int left = item->Begin / 10;
  return Bar{left, type == TMediaItem::kImage ? left + item->Dur / 10 - 1 : left + 99};
}

void Box(TCanvas* canvas, const RECT& r, TColor fill) {
  canvas->Pen()->SetColor(kOutline);
  canvas->Brush()->SetColor(fill);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Rectangle(r);
}

// The page's text as one line: byte-order marks skipped, cut with "..." to fit `width`.
std::u16string CellText(const TMmsFrame* frame) {
  std::unique_ptr<char16_t[]> raw = ReadFrameText(frame);
  if (!raw) return {};
  const char16_t* p = raw.get();
  while (*p == 0xFEFF) ++p;
  return std::u16string(p);
}

int AnsiWidth(TCanvas* canvas, const std::u16string& text) {
  return canvas->TextWidth(AnsiString(platform::Utf16ToMultiByte(text).c_str()));
}

}  // namespace

void TfrmMain::PaintCell(int page, TBitmap* bitmap) {
  bitmap->SetSize(kCellWidth, kCellHeight);
  TCanvas* canvas = bitmap->Canvas();
  canvas->Font()->SetName("Arial");
  const bool current = page == document.CurrentPage();
  const StripSelection flags = current ? selection : StripSelection::kNone;
  auto textColour = [canvas](bool selected) {
    canvas->Font()->SetColor(selected ? kHighlightText : clBlack);
  };

  const bool titleSelected = current && selection == StripSelection::kPage;
  Box(canvas, RECT{0, 0, kCellWidth, kTitleBottom}, titleSelected ? kSelectedFill : kFill);
  textColour(titleSelected);
  const AnsiString number = IntToStr(page + 1);
  const int numberWidth = canvas->TextWidth(number);
  if (numberWidth <= kCellWidth) canvas->TextOut((kCellWidth - numberWidth) / 2, 4, number);

  const TMmsFrame* frame = Mms()->Body->GetFrame(page);
  Box(canvas, RECT{0, kTitleBottom, kCellWidth, kPictureBottom}, clWhite);
  if (const TMediaItem* item = frame->GetItem(TMediaItem::kImage)) {
    const Bar bar = ItemBar(item, TMediaItem::kImage);
    const TColor fill = SelectionCovers(flags, StripSelection::kPicture) ? kSelectedFill : kFill;
    Box(canvas, RECT{bar.left, kTitleBottom, bar.right + 1, kPictureBottom}, fill);
    // The whole picture, never magnified, inside the part of the bar the cell shows, with the
    // bar's colour where it is transparent. No thumbnail for a picture that cannot be had: the
    // rest of the cell is drawn as usual.
    const int shown = std::min(bar.right + 1, kCellWidth) - bar.left;
    TBitmap thumb;
    if (shown > 2 && DrawPictureFitted(page, &thumb, 70, shown - 2, fill) == 0 && thumb.Width() > 0) {
      canvas->Draw(bar.left + std::max(1, (shown - thumb.Width()) / 2),
                   kTitleBottom + std::max(1, (kPictureBottom - kTitleBottom - thumb.Height()) / 2), &thumb);
    }
  }

  Box(canvas, RECT{0, kPictureBottom, kCellWidth, kTextBottom}, clWhite);
  if (const TMediaItem* item = frame->GetItem(TMediaItem::kText)) {
    const Bar bar = ItemBar(item, TMediaItem::kText);
    const bool selected = SelectionCovers(flags, StripSelection::kText);
    Box(canvas, RECT{bar.left, kPictureBottom, bar.right + 1, kTextBottom}, selected ? kSelectedFill : kFill);
    const std::u16string text = CellText(frame);
    if (!text.empty()) {
      const int w = bar.right - bar.left;
      const std::u16string shown =
          FitCellText(text, w, [canvas](const std::u16string& t) { return AnsiWidth(canvas, t); });
      const int width = AnsiWidth(canvas, shown);
      const int x = (w - width) / 2 < 3 ? 0 : bar.left + (w - width) / 2 - 2;
      textColour(selected);
      canvas->Brush()->SetStyle(bsClear);
      TextOutW(canvas->Handle(), x, 123, reinterpret_cast<LPCWSTR>(shown.c_str()),
               static_cast<int>(shown.size()));
    }
  }

  Box(canvas, RECT{0, kTextBottom, kCellWidth, kCellHeight}, clWhite);
  if (const TMediaItem* item = frame->GetItem(TMediaItem::kAudio)) {
    const Bar bar = ItemBar(item, TMediaItem::kAudio);
    const bool selected = SelectionCovers(flags, StripSelection::kSound);
    Box(canvas, RECT{bar.left, kTextBottom, bar.right + 1, kCellHeight}, selected ? kSelectedFill : kFill);
    std::string name = item->Path;
    const size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const int w = bar.right - bar.left;
    const AnsiString shown = FitSoundName(name, w, [canvas](const std::string& t) {
                               return canvas->TextWidth(AnsiString(t.c_str()));
                             }).c_str();
    const SIZE size = canvas->TextExtent(shown);
    textColour(selected);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(bar.left + (w - size.cx) / 2, kTextBottom + (27 - size.cy) / 2, shown);
  }
  canvas->Brush()->SetStyle(bsSolid);
}

void TfrmMain::BuildStrip(TBitmap* bitmap) {
  const int pages = PageCount(Mms());
  const int width = std::max(pages * kCellWidth, imgFrameList->Width());
  const int height = kCellHeight + kTopBand;
  bitmap->SetSize(width, height);
  TCanvas* canvas = bitmap->Canvas();
  // A new bitmap is black: without the skin the strip is white behind the cells.
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clWhite);
  canvas->FillRect(RECT{0, 0, width, height});
  if (!pImgFileManager) pImgFileManager = new TImgFileManager();
  const AnsiString skinPath = document.exeDir + "UI_Mivora/imgFrameListnew.bmp";
  int changed = 0;
  TBitmap* skin = pImgFileManager->GetBitmap(skinPath, changed);
  if (skin && changed) {
    pImgFileManager->Reload(skinPath);
    skin = pImgFileManager->GetBitmap(skinPath, changed);
  }
  if (skin) canvas->StretchDraw(RECT{0, 0, width, height + 22}, skin);
  TBitmap cell;
  for (int i = 0; i < pages; ++i) {
    PaintCell(i, &cell);
    canvas->Draw(i * kCellWidth, kTopBand, &cell);
  }
}

namespace {

// Copies the strip from `position` onto the control's picture.
void CopyStrip(TImage* control, TBitmap* strip, int position) {
  TBitmap* shown = control->Picture()->Bitmap();
  if (shown->Width() != control->Width() || shown->Height() != control->Height()) {
    shown->SetSize(control->Width(), control->Height());
  }
  TCanvas* canvas = shown->Canvas();
  const int width = strip ? std::max(0, std::min(control->Width(), strip->Width() - position)) : 0;
  const int height = strip ? std::min(control->Height(), strip->Height()) : 0;
  if (width > 0 && height > 0) {
    canvas->CopyRect(RECT{0, 0, width, height}, strip->Canvas(), RECT{position, 0, position + width, height});
  }
  // White where the strip does not reach.
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clWhite);
  if (width < control->Width()) canvas->FillRect(RECT{width, 0, control->Width(), control->Height()});
  if (height < control->Height()) canvas->FillRect(RECT{0, height, width, control->Height()});
}

}  // namespace

void TfrmMain::ShowStrip() {
  // The range follows the pages, so a strip not rebuilt yet after a page was added still
  // scrolls to it.
  const int pages = PageCount(Mms());
  const int stripWidth = std::max(pages * kCellWidth, stripBitmap ? stripBitmap->Width() : 0);
  scrBarFrameList->SetMin(0);
  scrBarFrameList->SetPageSize(0);
  scrBarFrameList->SetMax(std::max(0, stripWidth - imgFrameList->Width()));
  scrBarFrameList->SetVisible(pages >= 3);
  CopyStrip(imgFrameList, stripBitmap.get(), scrBarFrameList->Position());
  imgFrameList->Invalidate();
}

void TfrmMain::RefreshFrameList() {
  // Every change of the current page (a new, selected, deleted or opened one) ends here.
  ShowCurrentDuration();
  if (!stripBitmap) stripBitmap = std::make_unique<TBitmap>();
  BuildStrip(stripBitmap.get());
  ShowStrip();
  imgFrameList->Repaint();
  if (MmsViewer) PostMessageA(MmsViewer->Handle(), WM_SHOWFRAME, 0, LPARAM(document.CurrentPage()));
}

void TfrmMain::scrBarFrameListScroll(TObject*, TScrollCode, int& position) {
  // The bar moves to `position` after this handler: show the strip from there already.
  CopyStrip(imgFrameList, stripBitmap.get(), position);
  imgFrameList->Repaint();
}

void TfrmMain::EnsureVisible(int left, int right) {
  const int width = imgFrameList->Width();
  const int maximum = std::max(0, PageCount(Mms()) * kCellWidth - width);
  scrBarFrameList->SetMin(0);
  scrBarFrameList->SetMax(std::max(maximum, scrBarFrameList->Position()));
  const int position = scrBarFrameList->Position();
  int target = position;
  if (left < position + 50) {
    target = std::max(left - 50, 0);
  } else if (right > position + width - 50) {
    target = std::min(right - width + 50, maximum);
  }
  if (scrollAtOnce && target != position) {
    scrBarFrameList->SetPosition(target);
    CopyStrip(imgFrameList, stripBitmap.get(), target);
    imgFrameList->Invalidate();
  }
  // One pixel at a time, shown after each, so the movement can be seen.
  for (int p = position; p != target && !scrollAtOnce;) {
    p += target > p ? 1 : -1;
    scrBarFrameList->SetPosition(p);
    CopyStrip(imgFrameList, stripBitmap.get(), p);
    imgFrameList->Repaint();
  }
  scrBarFrameList->SetMax(maximum);
}

int TfrmMain::PageAt(int x, int y) const {
  if (x < 0 || y < 0 || y >= kCellHeight) return kNoPage;
  const int page = x / kCellWidth;
  return page < PageCount(Mms()) ? page : kNoPage;
}

StripSelection TfrmMain::PartAt(int x, int y) const {
  if (PageAt(x, y) == kNoPage) return StripSelection::kNone;
  if (y < kTitleBottom) return StripSelection::kPage;
  if (y < kPictureBottom) return StripSelection::kPicture;
  if (y < kTextBottom) return StripSelection::kText;
  return StripSelection::kSound;
}

void TfrmMain::SelectStripAt(int x, int y) {
  const int sx = x + scrBarFrameList->Position(), sy = y - kTopBand;
  const int page = x > 0 && y > kTopBand ? PageAt(sx, sy) : kNoPage;
  if (page == kNoPage) {
    Edit_Cur->SetEnabled(false);
    UpBtn->SetEnabled(false);
    DownBtn->SetEnabled(false);
    document.SetCurrentPage(-1);
    selection = StripSelection::kNone;
    return;
  }
  document.SetCurrentPage(page);
  selection = PartAt(sx, sy);
  ShowDuration(Mms()->Body->GetFrameDur(page));
  dragState = selection == StripSelection::kNone ? 0 : selection == StripSelection::kPage ? 1 : 2;
  if (selection != StripSelection::kNone) {
    Edit_Cur->SetEnabled(true);
    UpBtn->SetEnabled(true);
    DownBtn->SetEnabled(true);
  }
  RefreshFrameList();
}

void TfrmMain::imgFrameListMouseDown(TObject*, TMouseButton, TShiftState, int x, int y) {
  SetActiveControl(nullptr);
  stripPress = POINT{x, y};
  const int sx = x + scrBarFrameList->Position();
  auto edge = [sx](int left, int right) {
    return sx == left || sx == left + 1 ? 1 : sx == right || sx == right - 1 ? 2 : 0;
  };
  if (dragState == 1 && IsPage(document.CurrentPage())) {
    const int left = document.CurrentPage() * kCellWidth;
    if (const int e = edge(left, left + kCellWidth - 1)) {
      dragState = e == 1 ? 6 : 5;
      return;
    }
  } else if (dragState == 2 && IsPage(document.CurrentPage())) {
    const TMmsFrame* frame = Mms()->Body->GetFrame(document.CurrentPage());
    const std::pair<StripSelection, int> parts[] = {{StripSelection::kPicture, TMediaItem::kImage},
                                                    {StripSelection::kText, TMediaItem::kText},
                                                    {StripSelection::kSound, TMediaItem::kAudio}};
    for (const auto& [part, type] : parts) {
      const TMediaItem* item = SelectionCovers(selection, part) ? frame->GetItem(type) : nullptr;
      if (!item) continue;
      const Bar bar = ItemBar(item, type);
      if (const int e = edge(document.CurrentPage() * kCellWidth + bar.left,
                             document.CurrentPage() * kCellWidth + bar.right)) {
        dragState = e == 1 ? 8 : 7;
        return;
      }
    }
  }
  SelectStripAt(x, y);
}

void TfrmMain::imgFrameListMouseMove(TObject*, TShiftState shift, int x, int y) {
  const int sx = x + scrBarFrameList->Position(), sy = y - kTopBand;
  const int page = x > 0 && y > kTopBand ? PageAt(sx, sy) : kNoPage;
  const char* hint = StripHintAt(x, y, nullptr);
  if (hint) imgFrameList->SetHint(ResStringManager.GetString(hint));
  imgFrameList->SetShowHint(hint != nullptr);

  if (shift & ssLeft) {
    stripPress = POINT{x, y};
    if (dragState == 1 || dragState == 3) {
      // A drag step to the page under the pointer.
      dragState = 3;
      imgFrameList->SetCursor(page == document.CurrentPage() || page == kNoPage ? crNo : crDrag);
      if (page != dropTarget && page != document.CurrentPage()) {
        const int previous = dropTarget;
        dropTarget = page;
        if (page >= 0) {
          if (previous >= 0) MarkDropTarget(previous, false);
          MarkDropTarget(page, true);
        }
      }
    } else if (dragState != 2) {
      RefreshFrameList();
    }
  } else {
    imgFrameList->SetCursor(crDefault);
  }
  GetPduSize();
}

const char* TfrmMain::StripHintAt(int x, int y, RECT* area) const {
  const int position = scrBarFrameList->Position();
  const int sx = x + position, sy = y - kTopBand;
  const int page = x > 0 && y > kTopBand ? PageAt(sx, sy) : kNoPage;
  if (page == kNoPage) return nullptr;
  const int left = page * kCellWidth + 5, right = page * kCellWidth + kCellWidth - 1 - 5;
  if (sx < left || sx > right) return nullptr;
  struct Band {
    int top, bottom;
    const char* key;
  };
  static const Band bands[] = {
      {28, 111, "STR_InsertImg_Hint"}, {116, 143, "STR_InsertText_Hint"}, {148, 171, "STR_InsertAudio_Hint"}};
  for (const Band& band : bands) {
    if (sy < band.top || sy > band.bottom) continue;
    if (area)
      *area = RECT{left - position, band.top + kTopBand, right - position + 1, band.bottom + kTopBand + 1};
    return band.key;
  }
  return nullptr;
}

void TfrmMain::StripWndProc(TMessage& message) {
  if (message.Msg == CM_HINTSHOW) {
    // The hint belongs to one band: moving to another band shows that band's text.
    auto* info = reinterpret_cast<THintInfo*>(message.LParam);
    RECT area{};
    const char* key = StripHintAt(info->CursorPos.x, info->CursorPos.y, &area);
    if (!key) {
      message.Result = 1;
      return;
    }
    info->CursorRect = area;
    // The band's text becomes the strip's wide hint, which the wide hint window shows.
    imgFrameList->SetHint(ResStringManager.GetString(key));
    info->HintStr = imgFrameList->TControl::Hint();
    ProcessCMHintShowMsg(message);
    message.Result = 0;
    return;
  }
  stripWindowProc(message);
}

void TfrmMain::MarkDropTarget(int page, bool mark) {
  if (!stripBitmap || !IsPage(page)) return;
  const int x = document.CurrentPage() < page ? page * kCellWidth + kCellWidth : page * kCellWidth;
  EnsureVisible(x - 2, x + 2);
  const int position = scrBarFrameList->Position();
  const StripBand band = ClipMarkerBand(x, stripBitmap->Width(), position, imgFrameList->Width());
  if (band.count == 0) return;
  TBitmap piece;
  piece.SetPixelFormat(pf24bit);
  piece.SetSize(band.count, kCellHeight);
  piece.Canvas()->CopyRect(RECT{0, 0, band.count, kCellHeight}, stripBitmap->Canvas(),
                           RECT{band.first, kTopBand, band.first + band.count, kTopBand + kCellHeight});
  if (mark) {
    for (int row = 0; row < kCellHeight; ++row) {
      auto* bytes = static_cast<unsigned char*>(piece.ScanLine(row));
      for (int i = 0; i < band.count * 3; ++i) bytes[i] = static_cast<unsigned char>(~bytes[i]);
    }
  }
  imgFrameList->Picture()->Bitmap()->Canvas()->Draw(band.first - position + 1, kTopBand, &piece);
  imgFrameList->Repaint();
}

void TfrmMain::imgFrameListMouseUp(TObject*, TMouseButton, TShiftState, int x, int y) {
  imgFrameList->SetCursor(crDefault);
  if (dragState == 3) {
    const int sx = x + scrBarFrameList->Position(), sy = y - kTopBand;
    const int over = x > 0 && y > kTopBand ? PageAt(sx, sy) : kNoPage;
    if (dropTarget >= 0 && IsPage(document.CurrentPage()) && over == dropTarget) {
      Mms()->Body->MoveFrame(dropTarget, document.CurrentPage());
      document.SetModified(true);
    }
    if (dropTarget >= 0) document.SetCurrentPage(dropTarget);
    dropTarget = -1;
    dragState = 1;
  } else if (dragState == 5 || dragState == 6) {
    dragState = 1;
  } else if (dragState == 7 || dragState == 8) {
    dragState = 2;
  } else if (dragState > 8) {
    dragState = 0;
  }
  // Rebuilt and shown; the preview window keeps its page.
  if (!stripBitmap) stripBitmap = std::make_unique<TBitmap>();
  BuildStrip(stripBitmap.get());
  ShowStrip();
  imgFrameList->Repaint();
}

void TfrmMain::PopupMenu1Popup(TObject*) { UpdatePopupMenu(); }
