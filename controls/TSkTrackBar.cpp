#include "controls/TSkTrackBar.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "controls/ColorArithmetic.h"
#include "controls/ParentImage.h"
#include "controls/TThemeServices.h"
#include "controls/TrackBarArithmetic.h"
#include "platform/forms/CanvasHandleScope.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/FormMessages.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/WindowDC.h"

void RegisterSkTrackBarPictures();  // generated from resources/skin/trackbar

namespace {

constexpr unsigned kFirstRepeat = 200, kNextRepeats = 100;

// The picture names of a style and orientation, without the _HOT/_DISABLED/_MASK suffixes.
std::string PictureBase(TThumbStyle style, TPointerType pointer, TOrientation orientation) {
  const char* o = orientation == orHorizontal ? "H" : "V";
  switch (style) {
    case tsPointer:
      if (pointer == ptWin95 && orientation == orHorizontal) return "SKTRKBAR_WIN95";
      return std::string("SKTRKBAR_") + o + "_PTR";
    case tsMixer:
      return std::string("SKTRKBAR_") + o + "_MIXER";
    case tsBox:
      return std::string("SKTRKBAR_") + o + "_BOX";
    case tsFlat:
      return std::string("SKTRKBAR_") + o + "_FLAT";
    case tsXPPointer:
      return std::string("SKTRKBAR_") + o + "_XPPTR";
    default:
      return std::string("SKTRKBAR_") + o + "_XPBOX";
  }
}

struct ColorMapEntry {
  COLORREF from;
  COLORREF to;
};

// Loads a bitmap resource with its key colours replaced (the first matching entry wins, so a
// replaced colour is never replaced again). The pictures are 16-colour: only the colour table
// changes.
void LoadMapped(TBitmap& bitmap, const std::string& name, const std::vector<ColorMapEntry>& map) {
  bitmap.LoadFromResourceName(HInstance, name.c_str());
  TDibImage image = bitmap.ToDibImage();
  if (image.Table.empty()) return;
  for (RGBQUAD& entry : image.Table) {
    const COLORREF c = RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
    for (const ColorMapEntry& m : map) {
      if (m.from != c) continue;
      entry.rgbRed = GetRValue(m.to);
      entry.rgbGreen = GetGValue(m.to);
      entry.rgbBlue = GetBValue(m.to);
      break;
    }
  }
  bitmap.FromDibImage(image);
}

// One third of a custom thumb strip.
void CopyThird(TBitmap& target, TPicture* strip, int third) {
  const int w = strip->Width() / 3, h = strip->Height();
  target.SetPixelFormat(pf32bit);
  target.SetSize(w, h);
  TBitmap whole;
  whole.SetPixelFormat(pf32bit);
  whole.SetSize(strip->Width(), h);
  whole.Canvas()->Draw(0, 0, strip->Graphic());
  target.Canvas()->CopyRect(RECT{0, 0, w, h}, whole.Canvas(), RECT{third * w, 0, (third + 1) * w, h});
}

}  // namespace

TSkTrackBar::TSkTrackBar(TComponent* owner) : TCustomControl(owner) {
  SetBounds(Left(), Top(), 200, 35);
  TabStop = true;
  timer_ = std::make_unique<TTimer>(nullptr);
  timer_->SetEnabled(false);
  timer_->SetInterval(kFirstRepeat);
  timer_->OnTimer = [this](TObject* sender) { TimerExpired(sender); };
  for (TBitmap* b : {&thumb_, &hotThumb_, &mask_, &disabledThumb_, &background_}) b->SetPixelFormat(pf32bit);
  customThumb_ = std::make_unique<TPicture>();
  customThumb_->OnChange = [this](TObject* sender) { CustomThumbChanged(sender); };
  LoadThumbBitmaps();
  horizontalCursor_ = LoadCursorA(HInstance, "SKTRKBAR_H_CURSOR");
  verticalCursor_ = LoadCursorA(HInstance, "SKTRKBAR_V_CURSOR");
  // Without cursor resources the desktop's own sizing cursors say the same thing.
  if (!horizontalCursor_) horizontalCursor_ = LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_SIZEWE));
  if (!verticalCursor_) verticalCursor_ = LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_SIZENS));
  loading_ = false;
}

TSkTrackBar::~TSkTrackBar() {
  timer_.reset();
  DestroyCursor(horizontalCursor_);
  DestroyCursor(verticalCursor_);
}

// ---- properties

void TSkTrackBar::Reload() {
  if (loading_) return;
  LoadThumbBitmaps();
  backgroundInvalid_ = true;
  Invalidate();
}

void TSkTrackBar::Restyle() {
  if (loading_) return;
  backgroundInvalid_ = true;
  Invalidate();
}

void TSkTrackBar::SetCustomThumb(TPicture* value) { customThumb_->Assign(value); }

void TSkTrackBar::CustomThumbChanged(TObject*) {
  thumbStyle_ = tsCustom;
  Reload();
}

void TSkTrackBar::SetHighlightColor(TColor value) {
  if (value == highlightColor_) return;
  highlightColor_ = value;
  Reload();
}

void TSkTrackBar::SetHotTrackColor(TColor value) {
  if (value == hotTrackColor_) return;
  hotTrackColor_ = value;
  Reload();
}

void TSkTrackBar::SetHotTrackColorType(TSkHotTrackColorType value) {
  if (value == hotTrackColorType_) return;
  hotTrackColorType_ = value;
  Reload();
}

void TSkTrackBar::SetOrientation(TOrientation value) {
  if (value == orientation_) return;
  orientation_ = value;
  Reload();
}

void TSkTrackBar::SetPointerType(TPointerType value) {
  if (value == pointerType_) return;
  pointerType_ = value;
  Reload();
}

void TSkTrackBar::SetThemeAware(bool value) {
  if (value == themeAware_) return;
  themeAware_ = value;
  Reload();
}

void TSkTrackBar::SetThumbStyle(TThumbStyle value) {
  if (value == thumbStyle_) return;
  thumbStyle_ = value;
  if (!(ComponentState() & csLoading)) trackWidth_ = (value == tsMixer || value == tsFlat) ? 6 : 8;
  Reload();
}

#define MMS_TRACKBAR_SETTER(Name, member)               \
  void TSkTrackBar::Set##Name(decltype(member) value) { \
    if (value == member) return;                        \
    member = value;                                     \
    Restyle();                                          \
  }
MMS_TRACKBAR_SETTER(ShowTicks, showTicks_)
MMS_TRACKBAR_SETTER(TickColor, tickColor_)
MMS_TRACKBAR_SETTER(TickStep, tickStep_)
MMS_TRACKBAR_SETTER(TickStyle, tickStyle_)
MMS_TRACKBAR_SETTER(TrackColor, trackColor_)
MMS_TRACKBAR_SETTER(TrackOffset, trackOffset_)
MMS_TRACKBAR_SETTER(TrackFrame, trackFrame_)
MMS_TRACKBAR_SETTER(TrackFrameColor, trackFrameColor_)
MMS_TRACKBAR_SETTER(Transparent, transparent_)
#undef MMS_TRACKBAR_SETTER

void TSkTrackBar::SetTrackWidth(int value) {
  if (value == trackWidth_) return;
  trackWidth_ = std::max(value, 4);
  Restyle();
}

void TSkTrackBar::SetMax(int value) {
  if (value == max_) return;
  trackbar::ApplyMax(value, min_, max_);
  if (position_ > max_) SetPosition(max_);
  if (position_ < min_) SetPosition(min_);
  Invalidate();
}

void TSkTrackBar::SetMin(int value) {
  if (value == min_) return;
  trackbar::ApplyMin(value, min_, max_);
  if (position_ < min_) SetPosition(min_);
  if (position_ > max_) SetPosition(max_);
  Invalidate();
}

void TSkTrackBar::SetPosition(int value) {
  // The clamped value may equal the current one: OnChanging and OnChange still run, as they
  // always have for a request from outside the range.
  if (value == position_) return;
  const int clamped = std::clamp(value, min_, max_);
  if (!CanChange(clamped)) return;
  position_ = clamped;
  if (!backgroundInvalid_ && HandleAllocated()) {
    const WindowDC dc(Handle());
    const CanvasHandleScope drawing(*Canvas(), dc);
    DrawThumb(Canvas());
  }
  Change();
}

void TSkTrackBar::Change() {
  if (OnChange) OnChange(this);
}

bool TSkTrackBar::CanChange(int newPosition) {
  bool allow = true;
  if (OnChanging) OnChanging(this, newPosition, allow);
  return allow;
}

void TSkTrackBar::DrawTick(TCanvas* canvas, TPoint location, int index) {
  if (OnDrawTick) OnDrawTick(this, canvas, location, index);
}

// ---- pictures

void TSkTrackBar::LoadThumbBitmaps() {
  RegisterSkTrackBarPictures();
  const TColor l1 = LighterColor(clBtnShadow, 30), l2 = LighterColor(highlightColor_, 30),
               d2 = DarkerColor(highlightColor_, 30), d3 = DarkerColor(clBtnShadow, 30);
  TColor hot, darkHot, lightHot;
  if (hotTrackColorType_ == htctActual) {
    hot = darkHot = hotTrackColor_;
    lightHot = BlendColors(clWhite, hotTrackColor_, 190);
  } else {
    lightHot = ComplementaryColor(hotTrackColor_, 140);
    darkHot = DarkerColor(lightHot, 30);
    hot = DarkerColor(lightHot, 15);
  }
  TThumbStyle style = thumbStyle_;
  if (themeAware_ && ThemeServices()->GetThemesEnabled()) {
    if (style == tsBox) style = tsXPBox;
    if (style == tsPointer) style = tsXPPointer;
  }
  if (style == tsCustom && !customThumb_->Graphic()) style = tsPointer;
  if (style == tsCustom) {
    CopyThird(thumb_, customThumb_.get(), 0);
    CopyThird(hotThumb_, customThumb_.get(), 0);
    CopyThird(mask_, customThumb_.get(), 1);
    CopyThird(disabledThumb_, customThumb_.get(), 2);
  } else {
    const std::string base = PictureBase(style, pointerType_, orientation_);
    if (style == tsXPPointer || style == tsXPBox) {
      thumb_.LoadFromResourceName(HInstance, base.c_str());
      hotThumb_.LoadFromResourceName(HInstance, (base + "_HOT").c_str());
      disabledThumb_.LoadFromResourceName(HInstance, (base + "_DISABLED").c_str());
    } else {
      auto rgb = [](TColor c) { return ColorToRGB(c); };
      // Key colours in the pictures, in the order they are looked up.
      const std::vector<ColorMapEntry> map{
          {0xC0C0C0, rgb(clBtnFace)}, {0x808080, rgb(clBtnShadow)}, {0x008080, rgb(cl3DDkShadow)},
          {0x00FFFF, rgb(cl3DLight)}, {0x008000, rgb(l1)},          {0xFF0000, rgb(highlightColor_) + 1},
          {0x800000, rgb(d2)},        {0xFFFF00, rgb(l2)},          {0x0000FF, rgb(hot)},
          {0x000080, rgb(darkHot)},   {0xFF00FF, rgb(lightHot)},    {0x808000, rgb(clBtnShadow)},
          {0x800080, rgb(d3)},        {0x00FF00, rgb(l1)}};
      LoadMapped(thumb_, base, map);
      LoadMapped(hotThumb_, base + "_HOT", map);
      LoadMapped(disabledThumb_, base + "_DISABLED", map);
    }
    mask_.LoadFromResourceName(HInstance, (base + "_MASK").c_str());
  }
  for (TBitmap* b : {&thumb_, &hotThumb_, &mask_, &disabledThumb_}) b->SetPixelFormat(pf32bit);
  if (orientation_ == orHorizontal) {
    thumbWidth_ = thumb_.Width();
    thumbHeight_ = thumb_.Height();
  } else {
    thumbWidth_ = thumb_.Height();
    thumbHeight_ = thumb_.Width();
  }
  halfThumbWidth_ = thumbWidth_ / 2;
}

// ---- geometry

void TSkTrackBar::ComputeTrackRect() {
  const int b = kBorderWidth, hw = halfThumbWidth_;
  if (orientation_ == orHorizontal)
    trackRect_ = RECT{b + hw, trackOffset_, Width() - b - hw, trackOffset_ + trackWidth_};
  else
    trackRect_ = RECT{trackOffset_, b + hw, trackOffset_ + trackWidth_, Height() - b - hw};
}

void TSkTrackBar::ComputeThumbRect(RECT& r) const {
  const bool pointer = thumbStyle_ == tsPointer || thumbStyle_ == tsXPPointer;
  const int p = pointer && (orientation_ == orVertical || pointerType_ == ptStandard) ? 2 : 0;
  const int cross = (trackWidth_ - thumbHeight_) / 2 + trackOffset_ - p;
  const int along = trackbar::ThumbOffset(Range(), position_, min_, max_);
  if (orientation_ == orHorizontal) {
    r.left = along + kBorderWidth;
    r.right = r.left + thumbWidth_;
    r.top = cross;
    r.bottom = cross + thumbHeight_;
  } else {
    r.bottom = Height() - (along + kBorderWidth);
    r.top = r.bottom - thumbWidth_;
    r.left = cross;
    r.right = cross + thumbHeight_;
  }
}

bool TSkTrackBar::OverThumb(POINT p) const { return PtInRect(&thumbRect_, p) != 0; }

POINT TSkTrackBar::CursorPosition() const {
  POINT p{};
  GetCursorPos(&p);
  return ScreenToClient(p);
}

// ---- painting

void TSkTrackBar::Paint() {
  if (Focused() && ShowFocusRect) Canvas()->DrawFocusRect(ClientRect());
  DrawTrack(Canvas());
  if (showTicks_) DrawTicks(Canvas());
  DrawThumb(Canvas());
}

void TSkTrackBar::UpdateBackground() {
  background_.SetSize(Width(), Height());
  TCanvas* c = background_.Canvas();
  const RECT all{0, 0, Width(), Height()};
  if (transparent_) {
    c->CopyRect(all, Canvas(), all);
  } else {
    c->Brush()->SetColor(Color());
    c->FillRect(all);
  }
  DrawTrack(c);
  if (showTicks_) DrawTicks(c);
  backgroundInvalid_ = false;
}

void TSkTrackBar::DrawTrack(TCanvas* canvas) {
  ComputeTrackRect();
  canvas->Brush()->SetColor(Enabled() ? trackColor_ : clBtnFace);
  canvas->FillRect(trackRect_);
  RECT inner;
  if (trackFrame_ == fsFlat)
    DrawSides(canvas, trackRect_, trackFrameColor_, kAllSides, trackFrameColor_, inner);
  else
    DrawBorder(canvas, trackRect_, trackFrame_, inner);
}

void TSkTrackBar::DrawTicks(TCanvas* canvas) {
  canvas->Pen()->SetColor(tickColor_);
  const int b = kBorderWidth, hw = halfThumbWidth_;
  const bool pointer = thumbStyle_ == tsPointer || thumbStyle_ == tsXPPointer;
  const bool win95 = thumbStyle_ == tsPointer && pointerType_ == ptWin95;
  trackbar::VisitTicks(Range(), min_, max_, tickStep_, [&](int v, int o) {
    if (orientation_ == orHorizontal) {
      const int x = o + b + hw;
      if (tickStyle_ == tkOwnerDraw) {
        DrawTick(canvas, TPoint(x, 0), v);
        return;
      }
      if (!win95) {
        canvas->MoveTo(x, b);
        canvas->LineTo(x, 10);
      }
      if (!pointer || win95) {
        canvas->MoveTo(x, Height() - 10);
        canvas->LineTo(x, Height() - b);
      }
    } else {
      const int y = Height() - thumbWidth_ - o - b + hw;
      if (tickStyle_ == tkOwnerDraw) {
        DrawTick(canvas, TPoint(0, y), v);
        return;
      }
      canvas->MoveTo(b, y);
      canvas->LineTo(10, y);
      if (!pointer) {
        canvas->MoveTo(Width() - 10, y);
        canvas->LineTo(Width() - b, y);
      }
    }
  });
}

void TSkTrackBar::DrawThumb(TCanvas* canvas) {
  const RECT old = thumbRect_;
  ComputeThumbRect(thumbRect_);
  if (backgroundInvalid_) UpdateBackground();
  RECT uncovered{};
  if (SubtractRect(&uncovered, &old, &thumbRect_) && !IsRectEmpty(&uncovered))
    canvas->CopyRect(uncovered, background_.Canvas(), uncovered);
  const int w = thumb_.Width(), h = thumb_.Height();
  TBitmap work;
  work.SetPixelFormat(pf32bit);
  work.SetSize(w, h);
  TCanvas* c = work.Canvas();
  c->CopyMode = cmSrcCopy;
  c->CopyRect(RECT{0, 0, w, h}, background_.Canvas(), thumbRect_);
  c->CopyMode = cmSrcAnd;
  c->CopyRect(RECT{0, 0, w, h}, mask_.Canvas(), RECT{0, 0, w, h});
  c->CopyMode = cmSrcPaint;
  TBitmap& picture = !Enabled() ? disabledThumb_ : hot_ ? hotThumb_ : thumb_;
  c->CopyRect(RECT{0, 0, w, h}, picture.Canvas(), RECT{0, 0, w, h});
  canvas->CopyMode = cmSrcCopy;
  canvas->CopyRect(thumbRect_, c, RECT{0, 0, w, h});
}

// ---- keys

bool TSkTrackBar::KeyDown(WORD& key, TShiftState shift) {
  if (TCustomControl::KeyDown(key, shift)) return true;
  int value = position_;
  switch (key) {
    case VK_PRIOR:
      value = trackbar::Step(position_, pageSize_);
      break;
    case VK_NEXT:
      value = trackbar::Step(position_, -std::int64_t(pageSize_));
      break;
    case VK_END:
      value = orientation_ == orHorizontal ? max_ : min_;
      break;
    case VK_HOME:
      value = orientation_ == orHorizontal ? min_ : max_;
      break;
    case VK_LEFT:
    case VK_DOWN:
    case VK_SUBTRACT:
      if (position_ > min_) value = position_ - 1;
      break;
    case VK_UP:
    case VK_RIGHT:
    case VK_ADD:
      if (position_ < max_) value = position_ + 1;
      break;
    default:
      return false;
  }
  MoveTo(value);
  return false;
}

bool TSkTrackBar::KeyPress(char& key) {
  if (TabOnEnter && key == '\r') {
    key = 0;
    PostMessageA(Handle(), WM_KEYDOWN, VK_TAB, 0);
    return true;
  }
  return TCustomControl::KeyPress(key);
}

void TSkTrackBar::MoveTo(int value) {
  if (CanInternalChange(value)) SetPosition(value);
}

// ---- mouse

void TSkTrackBar::StopPaging() {
  timer_->SetEnabled(false);
  timer_->SetInterval(kFirstRepeat);
  paging_ = false;
}

void TSkTrackBar::Page(int x, int y) {
  const bool up = orientation_ == orHorizontal
                      ? x >= std::int64_t(trackbar::TickOffset(Range(), position_, min_, max_)) + kBorderWidth
                      : y < std::int64_t(trackbar::TickOffset(Range(), std::int64_t(max_) - position_ + min_,
                                                              min_, max_)) +
                                kBorderWidth;
  if (!paging_) {
    paging_ = true;
    pagingUp_ = up;
  }
  if (up != pagingUp_) {
    // The thumb has passed the point held down.
    StopPaging();
    return;
  }
  MoveTo(trackbar::Step(position_, up ? std::int64_t(pageSize_) : -std::int64_t(pageSize_)));
}

void TSkTrackBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (CanFocus() && !Focused()) SetFocus();
  if (button != mbLeft) return;
  const POINT p{x, y};
  if (OverThumb(p)) {
    StopPaging();
    SetMouseCapture(true);
    sliding_ = true;
    grabX_ = x - thumbRect_.left - (thumbRect_.right - thumbRect_.left) / 2;
    grabY_ = y - thumbRect_.top - (thumbRect_.bottom - thumbRect_.top) / 2;
  } else if (PtInRect(&trackRect_, p)) {
    timer_->SetEnabled(true);
    lastClickX_ = x;
    lastClickY_ = y;
    Page(x, y);
  }
}

void TSkTrackBar::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (sliding_) {
    double v, span;
    if (orientation_ == orHorizontal) {
      v = x - trackRect_.left - grabX_;
      span = trackRect_.right - trackRect_.left;
    } else {
      v = trackRect_.bottom - y + grabY_;
      span = trackRect_.bottom - trackRect_.top;
    }
    if (span <= 0) return;
    MoveTo(trackbar::DragValue(v, span, min_, max_));
    return;
  }
  const bool over = OverThumb(POINT{x, y});
  if (over != hot_) {
    hot_ = over;
    Invalidate();
  }
}

void TSkTrackBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  StopPaging();
  if (button == mbLeft && sliding_) {
    sliding_ = false;
    SetMouseCapture(false);
    hot_ = false;
    Invalidate();
  }
}

void TSkTrackBar::TimerExpired(TObject*) {
  timer_->SetInterval(kNextRepeats);
  if (!MouseCapture() && GetCapture() != Handle()) return;
  // A repeat that raises stops the repeating.
  platform::ScopeExit stop([this] {
    timer_->SetEnabled(false);
    timer_->SetInterval(kFirstRepeat);
  });
  MouseDown(mbLeft, 0, lastClickX_, lastClickY_);
  stop.Release();
}

// ---- messages

void TSkTrackBar::Resize() {
  TCustomControl::Resize();
  SetOrientation(Width() < Height() ? orVertical : orHorizontal);
  backgroundInvalid_ = true;
}

void TSkTrackBar::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (transparent_) {
        DrawParentImage(this, reinterpret_cast<HDC>(m.WParam), true);
        m.Result = 1;
        return;
      }
      break;
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS;
      return;
    case WM_SETCURSOR:
      if (OverThumb(CursorPosition())) {
        ::SetCursor(orientation_ == orHorizontal ? horizontalCursor_ : verticalCursor_);
        m.Result = 1;
        return;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(message);
      Invalidate();
      return;
    case CM_ENABLEDCHANGED:
    case CM_PARENTCOLORCHANGED:
      TCustomControl::Dispatch(message);
      backgroundInvalid_ = true;
      Invalidate();
      return;
    case CM_DESIGNHITTEST:
      m.Result = sliding_ || OverThumb(CursorPosition()) ? 1 : 0;
      return;
    case CM_MOUSELEAVE:
      // The form library fires OnMouseLeave and tells the parent.
      TCustomControl::Dispatch(message);
      if ((m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) && !sliding_ && hot_) {
        hot_ = false;
        Invalidate();
      }
      return;
  }
  TCustomControl::Dispatch(message);
}

// ---- registration

void RegisterSkTrackBar() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterSkTrackBarPictures();
  static const std::vector<std::string> orientationNames{"orHorizontal", "orVertical"};
  static const std::vector<std::string> hotTypeNames{"htctComplement", "htctActual"};
  static const std::vector<std::string> pointerNames{"ptStandard", "ptWin95"};
  static const std::vector<std::string> thumbNames{"tsBox",  "tsCustom",    "tsMixer", "tsPointer",
                                                   "tsFlat", "tsXPPointer", "tsXPBox"};
  static const std::vector<std::string> tickNames{"tkStandard", "tkOwnerDraw"};
  static const std::vector<std::string> frameNames{"fsNone",    "fsFlat",       "fsGroove",  "fsBump",
                                                   "fsLowered", "fsButtonDown", "fsRaised",  "fsButtonUp",
                                                   "fsStatus",  "fsPopup",      "fsFlatBold"};
  using T = TSkTrackBar;
  RegisterProperties<T>("TSkTrackBar", "TCustomControl", Factory<T>())
      // Read as "CustomThumb.Data": the picture's change makes the style tsCustom, and a
      // ThumbStyle written after it has the last word.
      .Object("CustomThumb", &T::CustomThumb)
      .Enum("HotTrackColorType", &T::HotTrackColorType, &T::SetHotTrackColorType, htctActual, &hotTypeNames)
      .Int("Max", &T::Max, &T::SetMax, 10)
      .Int("Min", &T::Min, &T::SetMin, 0)
      .Enum("Orientation", &T::Orientation, &T::SetOrientation, orHorizontal, &orientationNames)
      .Int("PageSize", &T::PageSize, &T::SetPageSize, 1)
      .Enum("PointerType", &T::PointerType, &T::SetPointerType, ptStandard, &pointerNames)
      .Int("Position", &T::Position, &T::SetPosition)
      .Bool(
          "ShowFocusRect", [](T& t) { return t.ShowFocusRect; }, [](T& t, bool v) { t.ShowFocusRect = v; },
          true)
      .Bool("ShowTicks", &T::ShowTicks, &T::SetShowTicks, true)
      .Bool(
          "TabOnEnter", [](T& t) { return t.TabOnEnter; }, [](T& t, bool v) { t.TabOnEnter = v; }, false)
      .Enum("ThumbStyle", &T::ThumbStyle, &T::SetThumbStyle, tsPointer, &thumbNames)
      .Enum("TickStyle", &T::TickStyle, &T::SetTickStyle, tkStandard, &tickNames)
      .Color("TickColor", &T::TickColor, &T::SetTickColor, clBtnShadow)
      .Int("TickStep", &T::TickStep, &T::SetTickStep, 1)
      .Color("HighlightColor", &T::HighlightColor, &T::SetHighlightColor, clHighlight)
      .Color("HotTrackColor", &T::HotTrackColor, &T::SetHotTrackColor, 0x149BF0)
      .Color("TrackColor", &T::TrackColor, &T::SetTrackColor, cl3DLight)
      .Int("TrackOffset", &T::TrackOffset, &T::SetTrackOffset, 20)
      .Enum("TrackFrame", &T::TrackFrame, &T::SetTrackFrame, fsStatus, &frameNames)
      .Color("TrackFrameColor", &T::TrackFrameColor, &T::SetTrackFrameColor, clBtnShadow)
      .Int("TrackWidth", &T::TrackWidth, &T::SetTrackWidth, 8)
      .Bool("Transparent", &T::Transparent, &T::SetTransparent, false)
      .Bool("ThemeAware", &T::ThemeAware, &T::SetThemeAware, true)
      .Event("OnChange", &T::OnChange)
      .Event("OnChanging", &T::OnChanging)
      .Event("OnDrawTick", &T::OnDrawTick)
      .Event("OnMouseEnter", static_cast<TNotifyEvent T::*>(&T::OnMouseEnter))
      .Event("OnMouseLeave", static_cast<TNotifyEvent T::*>(&T::OnMouseLeave));
}

int TSkTrackBar::Range() const { return trackbar::TravelLength(Length(), thumbWidth_, kBorderWidth); }
