#include "controls/TImImage.h"

#include "controls/TImPanel.h"
#include "platform/controls/Controls.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/FormMessages.h"
#include "platform/forms/TApplication.h"
#include "platform/rtl/Exceptions.h"

TImImage::TImImage(TComponent* owner)
    : TQvBackImage(owner),
      nomPicture_(std::make_unique<TPicture>()),
      hotPicture_(std::make_unique<TPicture>()),
      selPicture_(std::make_unique<TPicture>()),
      timer_(std::make_unique<TTimer>(nullptr)) {
  for (TPicture* p : {nomPicture_.get(), hotPicture_.get(), selPicture_.get()})
    p->OnChange = [this](TObject*) { PictureChanged(); };
  timer_->SetEnabled(false);
  timer_->SetInterval(200);
  timer_->OnTimer = [this](TObject*) { TimerTick(); };
}

TImImage::~TImImage() {
  timer_.reset();
  selPicture_.reset();
  hotPicture_.reset();
  nomPicture_.reset();
}

void TImImage::fSetImStatus(int value) {
  if (isBkgnd_ || value == status_) return;
  const int old = status_;
  status_ = value;
  if (OnImStatusChanged) {
    try {
      OnImStatusChanged(this, value, old);
    } catch (const Exception& e) {
      // The handler's failure is told to the user; the new status stands.
      if (Application)
        Application->MessageBox(e.Message.c_str(), Application->Title().c_str(), MB_ICONWARNING);
    }
  }
  Invalidate();
}

void TImImage::fSetDrawBevel(bool value) {
  enableDrawBevel_ = value;
  Invalidate();
}

void TImImage::EvMouseEnter() {
  timer_->SetEnabled(true);
  if (!isBkgnd_) fSetImStatus(status_ | (buttonDown_ ? imsHot | imsPressed : imsHot));
  if (OnMouseEnter) OnMouseEnter(this);
}

void TImImage::EvMouseLeave() {
  timer_->SetEnabled(false);
  if (!isBkgnd_) fSetImStatus(status_ & ~(imsHot | imsPressed));
  if (OnMouseLeave) OnMouseLeave(this);
}

void TImImage::MouseMove(TShiftState shift, int x, int y) {
  TQvBackImage::MouseMove(shift, x, y);
  const bool inside = x >= 0 && x < Width() && y >= 0 && y < Height();
  if (inside == mouseInside_) return;
  mouseInside_ = inside;
  if (inside)
    EvMouseEnter();
  else
    EvMouseLeave();
}

void TImImage::TimerTick() {
  // Taken out of its parent, the image has no place on the screen: the mouse is outside it.
  bool outside = Parent() == nullptr;
  if (!outside) {
    POINT p{};
    if (!GetCursorPos(&p)) return;
    const POINT c = ScreenToClient(p);
    outside = c.x < 0 || c.y < 0 || c.x >= Width() || c.y >= Height();
  }
  if (!outside) return;
  mouseInside_ = false;
  EvMouseLeave();
}

void TImImage::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TQvBackImage::MouseDown(button, shift, x, y);
  buttonDown_ = true;
  if (Enabled()) fSetImStatus(status_ | imsPressed);
}

void TImImage::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TQvBackImage::MouseUp(button, shift, x, y);
  buttonDown_ = false;
  fSetImStatus(status_ & ~imsPressed);
}

void TImImage::Click() {
  if (mouseInside_) {
    mouseInside_ = false;
    EvMouseLeave();
  }
  fSetImStatus(status_ & ~imsPressed);
  if (!isBkgnd_ && grouped_) {
    if (auto* panel = dynamic_cast<TImPanel*>(Parent())) {
      panel->UnselAllImages();
      if (panel->KeepSelStatus()) fSetImStatus(imsSelected);
    }
  }
  TQvBackImage::Click();
}

void TImImage::Paint() {
  TPicture* shown = (status_ & imsPressed)    ? selPicture_.get()
                    : (status_ & imsHot)      ? hotPicture_.get()
                    : (status_ & imsSelected) ? selPicture_.get()
                                              : nullptr;
  if (!shown || !PaintPicture(shown)) TQvBackImage::Paint();
  if (!enableDrawBevel_ || !(status_ & (imsHot | imsSelected | imsPressed))) return;
  const bool sunken = status_ & (imsPressed | imsSelected);
  RECT r{0, 0, Width(), Height()};
  Frame3D(Canvas(), r, sunken ? clBtnShadow : clBtnHighlight, sunken ? clBtnHighlight : clBtnShadow, 1);
}

void TImImage::PictureChanged() {
  TQvBackImage::PictureChanged();
  if (OnPictureChanged) OnPictureChanged(this);
}

void TImImage::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case WM_LBUTTONDBLCLK:
      if (!enableDblClick_) {
        // A second click is another press.
        m.Msg = WM_LBUTTONDOWN;
        Dispatch(message);
        return;
      }
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // Only this image's own visits; the form library passes children's on to parents.
      if (m.LParam == reinterpret_cast<LPARAM>(this)) {
        const bool inside = m.Msg == CM_MOUSEENTER;
        if (inside != mouseInside_) {
          mouseInside_ = inside;
          if (inside)
            EvMouseEnter();
          else
            EvMouseLeave();
        }
        if (Parent()) Parent()->Perform(m.Msg, 0, m.LParam);
        return;
      }
      break;
  }
  TQvBackImage::Dispatch(message);
}

void RegisterImImage() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterQvBackImage();
  using T = TImImage;
  RegisterProperties<T>("TImImage", "TQvBackImage", Factory<T>())
      .Bool("IsBkgnd", &T::IsBkgnd, &T::fSetIsBkgnd, false)
      .Bool("Grouped", &T::Grouped, &T::fSetGrouped, true)
      .Bool("EnableDblClick", &T::EnableDblClick, &T::SetEnableDblClick, false)
      .Bool("EnableDrawBevel", &T::EnableDrawBevel, &T::fSetDrawBevel, true)
      .Object("HotPicture", &T::HotPicture)
      .Object("SelPicture", &T::SelPicture)
      .Object("NomPicture", &T::NomPicture)
      .Event("OnImStatusChanged", &T::OnImStatusChanged)
      .Event("OnPictureChanged", static_cast<TNotifyEvent T::*>(&T::OnPictureChanged))
      .Event("OnMouseEnter", static_cast<TNotifyEvent T::*>(&T::OnMouseEnter))
      .Event("OnMouseLeave", static_cast<TNotifyEvent T::*>(&T::OnMouseLeave));
}
