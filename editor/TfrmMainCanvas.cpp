// The page-layout canvas: one slide's page with its picture and text regions, which the user can
// select, drag and resize by their handles; and the picture fitted to a box, which the slide
// strip's thumbnails use too.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "editor/PictureFit.h"
#include "editor/TCanvasTextMeasurer.h"
#include "editor/TImgFileManager.h"
#include "editor/TfrmMain.h"
#include "mms/SlideTextLines.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "mms/TMmsLayout.h"
#include "mms/TMmsRegion.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TPicture.h"

int TfrmMain::DrawPictureFitted(int page, TBitmap* bitmap, int boxHeight, int boxWidth, TColor background) {
  if (!IsPage(page) || !bitmap) return kRefused;
  const std::string path = Mms()->Body->GetFrame(page)->GetItemPath(TMediaItem::kImage);
  if (path.empty()) return 0;
  if (!pImgFileManager) pImgFileManager = new TImgFileManager();
  int changed = 0;
  TBitmap* picture = pImgFileManager->GetBitmap(AnsiString(path.c_str()), changed);
  if (picture && changed) {
    pImgFileManager->Reload(AnsiString(path.c_str()));
    picture = pImgFileManager->GetBitmap(AnsiString(path.c_str()), changed);
  }
  if (!picture) return kRefused;  // missing or undecodable: the caller draws without it
  const SIZE size =
      boxHeight == -1 && boxWidth == -1
          ? FitToRegion(picture->Width(), picture->Height(), Mms()->GetRegionWidth("Img"),
                        Mms()->GetRegionHeight("Img"))
          : FitToBox(picture->Width(), picture->Height(), std::min(boxHeight, picture->Height()),
                     std::min(boxWidth, picture->Width()));
  if (size.cx <= 0 || size.cy <= 0) return kRefused;
  bitmap->SetSize(size.cx, size.cy);
  TCanvas* canvas = bitmap->Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(background);
  canvas->FillRect(RECT{0, 0, size.cx, size.cy});
  canvas->StretchDraw(RECT{0, 0, size.cx, size.cy}, picture);
  return 0;
}

namespace {

const char* RegionId(int kind) { return kind == 1 ? "Text" : kind == 2 ? "Img" : "Null"; }

// A white rectangle, as a blank bitmap of its size drawn there would leave; the canvas's brush
// stays as it was.
void FillWhite(TCanvas* canvas, const RECT& r) {
  TBrush* brush = canvas->Brush();
  const TColor color = brush->Color();
  const TBrushStyle style = brush->Style();
  brush->SetStyle(bsSolid);
  brush->SetColor(clWhite);
  canvas->FillRect(r);
  brush->SetStyle(style);
  brush->SetColor(color);
}

std::unique_ptr<TBitmap> BlankBitmap(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(std::max(width, 1), std::max(height, 1));
  bitmap->Canvas()->Brush()->SetColor(clWhite);
  bitmap->Canvas()->FillRect(RECT{0, 0, bitmap->Width(), bitmap->Height()});
  return bitmap;
}

}  // namespace

RECT TfrmMain::GetPageRect() const {
  const bool hasRoot = Mms() && Mms()->Head && Mms()->Head->Layout && Mms()->Head->Layout->Root;
  const int rootWidth = hasRoot ? Mms()->Head->Layout->Root->Width : 0;
  const int width = imgMivora ? imgMivora->Width() : 0, height = imgMivora ? imgMivora->Height() : 0;
  const int left = (width - 30 - rootWidth) / 2;
  return RECT{left, 20, rootWidth + left - 1, height - 16};
}

void TfrmMain::FormResize(TObject*) { DrawPage(0); }

void TfrmMain::FormMouseMove(TObject*, TShiftState, int, int) {
  // The canvas is redrawn only when it showed a hover or a selection: otherwise nothing changes.
  if (selectedKind || hoverKind) ClearSelection();
}

void TfrmMain::DrawPage(int slide) {
  if (!imgMivora) return;  // the layout is still being read
  const RECT page = GetPageRect();
  pageSize = SIZE{std::max(page.right - page.left + 6, 1), std::max(page.bottom - page.top + 6, 1)};
  textBitmap.reset();
  pictureBitmap.reset();
  if (IsPage(slide)) {
    if (Mms()->HasRegion("Text") == 1) {
      textBitmap = std::make_unique<TBitmap>();
      DrawTextLines(slide, textBitmap.get());
    }
    if (Mms()->HasRegion("Img") == 1) {
      pictureBitmap = std::make_unique<TBitmap>();
      if (DrawPictureFitted(slide, pictureBitmap.get(), -1, -1) != 0 || pictureBitmap->Width() == 0) {
        pictureBitmap.reset();
      }
    }
  }
  // A blanked canvas draws the page when it is made.
  if (!pageCanvasBlanked) DrawPageInto(imgMivora->Picture()->Bitmap());
  imgMivora->Invalidate();
}

void TfrmMain::DrawPageInto(TBitmap* target) {
  if (!target || !pageSize) return;
  const RECT page = GetPageRect();
  TCanvas* canvas = target->Canvas();
  FillWhite(canvas,
            RECT{page.left - 3, page.top - 3, page.left - 3 + pageSize->cx, page.top - 3 + pageSize->cy});
  if (!Mms()) return;
  // Both items at their region's place on the page, as a single region is drawn.
  const std::pair<const char*, TBitmap*> items[] = {{"Text", textBitmap.get()}, {"Img", pictureBitmap.get()}};
  for (const auto& [id, bitmap] : items) {
    if (!bitmap || Mms()->HasRegion(id) != 1) continue;
    const int x = Mms()->GetRegionLeft(id) + page.left, y = Mms()->GetRegionTop(id) + page.top;
    const int w = std::min(Mms()->GetRegionWidth(id), bitmap->Width());
    const int h = std::min(Mms()->GetRegionHeight(id), bitmap->Height());
    if (w > 0 && h > 0) canvas->CopyRect(RECT{x, y, x + w, y + h}, bitmap->Canvas(), RECT{0, 0, w, h});
  }
}

int TfrmMain::DrawRegionItem(int kind, TBitmap* target, bool transparent, int outline, bool local, int top,
                             int left) {
  const char* id = RegionId(kind);
  if (!Mms() || !target || Mms()->HasRegion(id) != 1) return kRefused;
  TBitmap* item = kind == 1 ? textBitmap.get() : pictureBitmap.get();
  const RECT page = GetPageRect();
  const int originLeft = local ? 3 : page.left, originTop = local ? 3 : page.top;
  const int x = (left == -1 ? Mms()->GetRegionLeft(id) : left) + originLeft;
  int y = (top == -1 ? Mms()->GetRegionTop(id) : top) + originTop;
  if (local && y < 4) y = 3;
  TCanvas* canvas = target->Canvas();
  if (item) {
    if (!transparent) {
      canvas->Draw(x, y, item);
    } else {
      TCanvas* source = item->Canvas();
      for (int row = 0; row < item->Height(); ++row) {
        for (int col = 0; col < item->Width(); ++col) {
          const COLORREF pixel = source->Pixels(col, row);
          if ((pixel & 0xFFFFFF) != 0xFFFFFF) canvas->SetPixels(x + col, y + row, TColor(pixel));
        }
      }
    }
  }
  DrawSelectionFrame(
      canvas, RECT{x, y, x + Mms()->GetRegionWidth(id) - 1, y + Mms()->GetRegionHeight(id) - 1}, outline);
  return 0;
}

void TfrmMain::DrawRegions(int kind, TBitmap* target, bool local, int outline) {
  DrawRegionItem(kind == 1 ? 2 : 1, target, false, 0, local);
  DrawRegionItem(kind, target, false, outline, local);
}

int TfrmMain::BlitPage(TBitmap* bitmap) {
  if (!bitmap || !pageSize || !imgMivora) return kRefused;
  if (bitmap->Width() != pageSize->cx || bitmap->Height() != pageSize->cy) return kWrongSize;
  const RECT page = GetPageRect();
  PageCanvas()->Canvas()->Draw(page.left - 3, page.top - 3, bitmap);
  imgMivora->Invalidate();
  return 0;
}

void TfrmMain::DrawSelectionFrame(TCanvas* canvas, const RECT& r, int kind) {
  if (kind == 0) return;
  canvas->Pen()->SetColor(kind == 1 ? TColor(0x00FF00) : kind == 2 ? TColor(0xFF0000) : clBlack);
  canvas->Brush()->SetStyle(bsClear);
  const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
  const POINT handles[] = {{r.left, r.top}, {r.right, r.top}, {r.left, r.bottom}, {r.right, r.bottom},
                           {r.left, midY},  {r.right, midY},  {midX, r.top},      {midX, r.bottom}};
  for (const POINT& h : handles) canvas->Rectangle(h.x - 2, h.y - 2, h.x + 3, h.y + 3);
  // The edges between the boxes, leaving the boxes' insides undrawn.
  auto line = [canvas](int x1, int y1, int x2, int y2) {
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
  };
  line(r.left + 3, r.top, midX - 2, r.top);
  line(midX + 3, r.top, r.right - 2, r.top);
  line(r.left + 3, r.bottom, midX - 2, r.bottom);
  line(midX + 3, r.bottom, r.right - 2, r.bottom);
  line(r.left, r.top + 3, r.left, midY - 2);
  line(r.left, midY + 3, r.left, r.bottom - 2);
  line(r.right, r.top + 3, r.right, midY - 2);
  line(r.right, midY + 3, r.right, r.bottom - 2);
  canvas->Brush()->SetStyle(bsSolid);
}

void TfrmMain::DrawTextLines(int slide, TBitmap* bitmap) {
  if (!bitmap || !IsPage(slide) || Mms()->HasRegion("Text") != 1) return;
  const int width = std::max(Mms()->GetRegionWidth("Text"), 1);
  bitmap->SetSize(width < 2 ? 1 : width, 1);
  const std::vector<std::string> lines =
      FrameTextLines(Mms()->Body->GetFrame(slide), bitmap->Width(), TCanvasTextMeasurer(bitmap->Canvas()));
  bitmap->SetSize(bitmap->Width(), std::max<int>(int(lines.size()) * TK3VNMms::kTextLineHeight, 1));
  TCanvas* canvas = bitmap->Canvas();
  canvas->Brush()->SetColor(clWhite);
  canvas->FillRect(RECT{0, 0, bitmap->Width(), bitmap->Height()});
  for (size_t i = 0; i < lines.size(); ++i) {
    canvas->TextOut(0, TK3VNMms::kTextLineHeight * int(i), AnsiString(lines[i].c_str()));
  }
}

void TfrmMain::ClearSelection() {
  selectedKind = 0;
  resizeHandle = 0;
  lastPoint = POINT{0, 0};
  storedPosition = POINT{0, 0};
  DrawPage(0);
  hoverKind = 0;
}

void TfrmMain::DragSelection(int dx, int dy) {
  if (!Mms() || !pageSize || !selectedKind) return;
  const RECT page = GetPageRect();
  const int pageWidth = page.right - page.left, pageHeight = page.bottom - page.top;
  const char* id = RegionId(selectedKind);
  std::unique_ptr<TBitmap> bitmap = BlankBitmap(pageSize->cx, pageSize->cy);
  DrawRegionItem(selectedKind == 1 ? 2 : 1, bitmap.get(), false, 0, true);
  storedPosition.x =
      std::clamp<int>(storedPosition.x + dx, 0, std::max(0, pageWidth - Mms()->GetRegionWidth(id)));
  storedPosition.y =
      std::clamp<int>(storedPosition.y + dy, 0, std::max(0, pageHeight - Mms()->GetRegionHeight(id)));
  DrawRegionItem(selectedKind, bitmap.get(), true, 2, true, storedPosition.y, storedPosition.x);
  BlitPage(bitmap.get());
}

void TfrmMain::KeepAspect(int sign, int width, int height, int& dx, int& dy) {
  if (width < 1 || height < 1) return;  // no proportion to keep
  // The division comes first: a region wider than high keeps dy at 0.
  if (std::abs(dy) < std::abs(dx)) {
    dy = (sign * height / width) * dx;
  } else {
    dx = (sign * width / height) * dy;
  }
}

int TfrmMain::ApplyRegionRect(int left, int top, int height, int width) {
  if (!Mms() || !selectedKind) return kOutsidePage;
  const RECT page = GetPageRect();
  const int pageWidth = page.right - page.left, pageHeight = page.bottom - page.top;
  const char* id = RegionId(selectedKind);
  const char* other = RegionId(selectedKind == 1 ? 2 : 1);
  const bool hasOther = Mms()->HasRegion(other) == 1;
  const int otherTop = hasOther ? Mms()->GetRegionTop(other) : 0,
            otherHeight = hasOther ? Mms()->GetRegionHeight(other) : 0;
  if (width < 1 || height < 1 || left < 0 || top < 0 || left + width - 1 > pageWidth - 1 ||
      top + height - 1 > pageHeight - 1 || otherHeight + height + std::min(otherTop, top) > pageHeight - 1) {
    return kOutsidePage;
  }
  Mms()->SetRegionWidth(id, width);
  Mms()->SetRegionHeight(id, height);
  Mms()->MoveRegion(id, left, top, pageHeight);
  if (!IsPage(document.CurrentPage())) return kNoSuchPage;
  if (selectedKind == 2) {
    pictureBitmap = std::make_unique<TBitmap>();
    if (DrawPictureFitted(document.CurrentPage(), pictureBitmap.get(), -1, -1) != 0 ||
        pictureBitmap->Width() == 0) {
      pictureBitmap.reset();
    }
  } else {
    textBitmap = std::make_unique<TBitmap>();
    DrawTextLines(document.CurrentPage(), textBitmap.get());
  }
  if (pageSize) {
    std::unique_ptr<TBitmap> bitmap = BlankBitmap(pageSize->cx, pageSize->cy);
    DrawRegions(selectedKind, bitmap.get(), true, 2);
    BlitPage(bitmap.get());
  }
  storedPosition = POINT{Mms()->GetRegionLeft(id), Mms()->GetRegionTop(id)};
  return 0;
}

void TfrmMain::CommitMove() {
  if (!Mms() || !selectedKind) return;
  const RECT page = GetPageRect();
  const char* id = RegionId(selectedKind);
  Mms()->MoveRegion(id, storedPosition.x, storedPosition.y, page.bottom - page.top);
  if (pageSize) {
    std::unique_ptr<TBitmap> bitmap = BlankBitmap(pageSize->cx, pageSize->cy);
    DrawRegions(selectedKind, bitmap.get(), true, 2);
    BlitPage(bitmap.get());
  }
  storedPosition = POINT{Mms()->GetRegionLeft(id), Mms()->GetRegionTop(id)};
}

namespace {

// The handle (1..8) of region rectangle r under the page point, 0 for none.
int HandleAt(const RECT& r, int x, int y) {
  const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
  const POINT handles[] = {{r.left, r.top}, {r.right, r.top}, {r.left, r.bottom}, {r.right, r.bottom},
                           {r.left, midY},  {r.right, midY},  {midX, r.top},      {midX, r.bottom}};
  for (int i = 0; i < 8; ++i) {
    if (x >= handles[i].x - 2 && x < handles[i].x + 3 && y >= handles[i].y - 2 && y < handles[i].y + 3)
      return i + 1;
  }
  return 0;
}

}  // namespace

void TfrmMain::imgMivoraMouseMove(TObject*, TShiftState shift, int x, int y) {
  if (!Mms()) return;
  const RECT page = GetPageRect();
  if (selectedKind && buttonDown) {
    int dx = x - lastPoint.x, dy = y - lastPoint.y;
    lastPoint = POINT{x, y};
    if (!resizeHandle) {
      DragSelection(dx, dy);
      return;
    }
    const char* id = RegionId(selectedKind);
    const int l = Mms()->GetRegionLeft(id), t = Mms()->GetRegionTop(id);
    const int w = Mms()->GetRegionWidth(id), h = Mms()->GetRegionHeight(id);
    if (resizeHandle == 5 || resizeHandle == 6) dy = 0;
    if (resizeHandle == 7 || resizeHandle == 8) dx = 0;
    if (shift & ssShift) KeepAspect(resizeHandle == 2 || resizeHandle == 3 ? -1 : 1, w, h, dx, dy);
    switch (resizeHandle) {
      case 1:
        ApplyRegionRect(l + dx, t + dy, h - dy, w - dx);
        break;
      case 2:
        ApplyRegionRect(l, t + dy, h - dy, w + dx);
        break;
      case 3:
        ApplyRegionRect(l + dx, t, h + dy, w - dx);
        break;
      case 4:
        ApplyRegionRect(l, t, h + dy, w + dx);
        break;
      case 5:
        ApplyRegionRect(l + dx, t, h - dy, w - dx);
        break;
      case 6:
        ApplyRegionRect(l, t, h + dy, w + dx);
        break;
      case 7:
        ApplyRegionRect(l, t + dy, h - dy, w - dx);
        break;
      default:
        ApplyRegionRect(l, t, h + dy, w + dx);
        break;
    }
    return;
  }
  if (selectedKind) {
    const char* id = RegionId(selectedKind);
    const int l = Mms()->GetRegionLeft(id), t = Mms()->GetRegionTop(id);
    const RECT r{l, t, l + Mms()->GetRegionWidth(id) - 1, t + Mms()->GetRegionHeight(id) - 1};
    resizeHandle = static_cast<BYTE>(HandleAt(r, x - page.left, y - page.top));
    static const TCursor cursors[] = {crDefault, crSizeNWSE, crSizeNESW, crSizeNESW, crSizeNWSE,
                                      crSizeWE,  crSizeWE,   crSizeNS,   crSizeNS};
    imgMivora->SetCursor(cursors[resizeHandle]);
    return;
  }
  int kind = 0;
  if (x >= page.left && x <= page.right && y >= page.top && y <= page.bottom) {
    const std::string id = Mms()->GetRegionAt(x - page.left, y - page.top);
    kind = id == "Text" ? 1 : id == "Img" ? 2 : 0;
  }
  if (kind == 0) {
    if (hoverKind) ClearSelection();
    return;
  }
  if (kind == hoverKind || !pageSize) return;
  std::unique_ptr<TBitmap> bitmap = BlankBitmap(pageSize->cx, pageSize->cy);
  DrawRegions(kind, bitmap.get(), true, 1);
  BlitPage(bitmap.get());
  hoverKind = static_cast<BYTE>(kind);
}

void TfrmMain::imgMivoraMouseDown(TObject*, TMouseButton, TShiftState, int x, int y) {
  buttonDown = 1;
  lastPoint = POINT{x, y};
  if (resizeHandle || !Mms()) return;
  const RECT page = GetPageRect();
  int kind = 0;
  if (x >= page.left && x <= page.right && y >= page.top && y <= page.bottom) {
    const std::string id = Mms()->GetRegionAt(x - page.left, y - page.top);
    kind = id == "Text" ? 1 : id == "Img" ? 2 : 0;
  }
  if (kind == 0) {
    ClearSelection();
    buttonDown = 1;
    lastPoint = POINT{x, y};
    return;
  }
  if (kind == selectedKind) return;
  selectedKind = static_cast<BYTE>(kind);
  if (pageSize) {
    std::unique_ptr<TBitmap> bitmap = BlankBitmap(pageSize->cx, pageSize->cy);
    DrawRegions(kind, bitmap.get(), true, 2);
    BlitPage(bitmap.get());
  }
  storedPosition = POINT{Mms()->GetRegionLeft(RegionId(kind)), Mms()->GetRegionTop(RegionId(kind))};
}

void TfrmMain::imgMivoraMouseUp(TObject*, TMouseButton, TShiftState, int x, int y) {
  if (selectedKind) {
    storedPosition.x += x - lastPoint.x;
    storedPosition.y += y - lastPoint.y;
    CommitMove();
    RefreshFrameList();
  }
  buttonDown = 0;
  resizeHandle = 0;
  lastPoint = POINT{x, y};
}
