#include "controls/TTarnelPanel.h"

#include <string>
#include <vector>

#include "controls/ParentImage.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/FormMessages.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/ScopeExit.h"

TCustomTarnelPanel::TCustomTarnelPanel(TComponent* owner)
    : TCustomPanel(owner),
      colors_(std::make_unique<TTarnelPanelColors>(this)),
      picture_(std::make_unique<TPicture>()) {
  picture_->OnChange = [this](TObject*) { Invalidate(); };
}

TCustomTarnelPanel::~TCustomTarnelPanel() {
  background_.reset();
  picture_.reset();
  colors_.reset();
}

void TCustomTarnelPanel::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Invalidate();
}

void TCustomTarnelPanel::SetPictureStyle(TQvBackImageStyle value) {
  if (value == pictureStyle_) return;
  pictureStyle_ = value;
  Invalidate();
}

void TCustomTarnelPanel::GetBkBmp() {
  FreeBkBmp();
  TWinControl* parent = Parent();
  if (!parent || parent->Width() <= 0 || parent->Height() <= 0 || Width() <= 0 || Height() <= 0) return;
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(Width(), Height());
  bitmap->Canvas()->Brush()->SetColor(Color());
  bitmap->Canvas()->FillRect(RECT{0, 0, Width(), Height()});
  // The parent and its windowless children paint into the bitmap as if it were the panel's
  // area; the panel's own paint, should it come back here, draws nothing meanwhile.
  {
    painting_ = true;
    const platform::ScopeExit done([this] { painting_ = false; });
    DrawParentImage(this, bitmap->Canvas());
  }
  background_ = std::move(bitmap);
}

void TCustomTarnelPanel::PaintBkgnd(TCanvas* canvas, const RECT& rect, bool refresh) {
  if (refresh || (transparent_ && !background_)) GetBkBmp();
  if (transparent_ && background_) {
    canvas->CopyRect(RECT{0, 0, Width(), Height()}, background_->Canvas(), RECT{0, 0, Width(), Height()});
  } else {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(rect);
  }
  PaintStyledPicture(canvas, picture_.get(), Width(), Height(), pictureStyle_, transparent_);
}

void TCustomTarnelPanel::Paint() {
  if (painting_) return;
  TCanvas* canvas = Canvas();
  RECT r{0, 0, Width(), Height()};
  PaintBkgnd(canvas, r, transparent_);
  const TColor highlight = colors_->EffectiveHighlight(), shadow = colors_->EffectiveShadow();
  auto bevel = [&](TPanelBevel b) {
    if (b == bvNone) return;
    if (b == bvLowered)
      Frame3D(canvas, r, shadow, highlight, BevelWidth());
    else
      Frame3D(canvas, r, highlight, shadow, BevelWidth());
  };
  bevel(BevelOuter());
  bevel(BevelInner());
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->Assign(Font());
  static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  const AnsiString caption = Caption();
  DrawTextA(canvas->Handle(), caption.c_str(), -1, &r,
            DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | alignments[Alignment()]);
  canvas->Brush()->SetStyle(bsSolid);
  if (OnPaint) OnPaint(this);
}

void TCustomTarnelPanel::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == WM_ERASEBKGND) {
    if (!painting_ && m.WParam) {
      TCanvas canvas;
      canvas.SetHandle(reinterpret_cast<HDC>(m.WParam));
      PaintBkgnd(&canvas, RECT{0, 0, Width(), Height()}, false);
      canvas.SetHandle(nullptr);
    }
    m.Result = 1;
    return;
  }
  TCustomPanel::Dispatch(message);
}

void RegisterTarnelPanel() {
  static bool done = false;
  if (done) return;
  done = true;
  static const std::vector<std::string> styleNames{"qvbmsNormal", "qvbmsCenter", "qvbmsTiled",
                                                   "qvbmsStretch"};
  using C = TTarnelPanelColors;
  RegisterProperties<C>("TTarnelPanelColors", "")
      .Color("HighlightColor", &C::HighlightColor, &C::SetHighlightColor, clDefault)
      .Color("ShadowColor", &C::ShadowColor, &C::SetShadowColor, clDefault);
  using T = TTarnelPanel;
  RegisterProperties<TCustomTarnelPanel>("TCustomTarnelPanel", "TCustomPanel");
  RegisterProperties<T>("TTarnelPanel", "TCustomTarnelPanel", Factory<T>())
      .Object("Colors", &T::Colors)
      .Bool("Transparent", &T::Transparent, &T::SetTransparent, true)
      .Object("Picture", &T::Picture)
      .Enum("PictureStyle", &T::PictureStyle, &T::SetPictureStyle, qvbmsTiled, &styleNames)
      .Event("OnPaint", static_cast<TNotifyEvent T::*>(&T::OnPaint));
}
