#include "controls/TSkFrameController.h"

#include <algorithm>
#include <string>

#include "controls/ENoRegIniFile.h"
#include "controls/TSkOldPropReader.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TReader.h"
#include "platform/rtl/UpdateScope.h"

namespace {

const std::vector<std::string> kFrameNames{"fsNone",    "fsFlat",       "fsGroove",   "fsBump",
                                           "fsLowered", "fsButtonDown", "fsRaised",   "fsButtonUp",
                                           "fsStatus",  "fsPopup",      "fsFlatBold", "fsFlatRounded"};

}  // namespace

TSkFrameController::TSkFrameController(TComponent* owner) : TComponent(owner) {}

TSkFrameController::~TSkFrameController() {
  for (TComponent* c : std::vector<TComponent*>(controls_)) RemoveControl(c);
}

const char* TSkFrameController::PropertyName(TSkFrameControllerProperty p) {
  static const char* const names[] = {"Color",
                                      "FocusColor",
                                      "DisabledColor",
                                      "ReadOnlyColor",
                                      "ReadOnlyColorOnFocus",
                                      "ParentColor",
                                      "FlatButtonColor",
                                      "FlatButtons",
                                      "FrameColor",
                                      "FrameHotColor",
                                      "FrameHotTrack",
                                      "FrameHotStyle",
                                      "FrameSides",
                                      "FrameStyle",
                                      "FrameVisible",
                                      "FramingPreference"};
  return p < fcpAll ? names[p] : "";
}

std::int64_t TSkFrameController::Value(TSkFrameControllerProperty p) const {
  switch (p) {
    case fcpColor:
      return color_;
    case fcpFocusColor:
      return focusColor_;
    case fcpDisabledColor:
      return disabledColor_;
    case fcpReadOnlyColor:
      return readOnlyColor_;
    case fcpReadOnlyColorOnFocus:
      return readOnlyColorOnFocus_;
    case fcpParentColor:
      return parentColor_;
    case fcpFlatButtonColor:
      return flatButtonColor_;
    case fcpFlatButtons:
      return flatButtons_;
    case fcpFrameColor:
      return frameColor_;
    case fcpFrameHotColor:
      return frameHotColor_;
    case fcpFrameHotTrack:
      return frameHotTrack_;
    case fcpFrameHotStyle:
      return frameHotStyle_;
    case fcpFrameSides:
      return frameSides_;
    case fcpFrameStyle:
      return frameStyle_;
    case fcpFrameVisible:
      return frameVisible_;
    case fcpFramingPreference:
      return framingPreference_;
    default:
      return 0;
  }
}

void TSkFrameController::AddControl(TComponent* control) {
  if (!control || std::find(controls_.begin(), controls_.end(), control) != controls_.end()) return;
  controls_.push_back(control);
  control->FreeNotification(this);
  PushTo(control, fcpAll);
}

void TSkFrameController::RemoveControl(TComponent* control) {
  const auto at = std::find(controls_.begin(), controls_.end(), control);
  if (at == controls_.end()) return;
  controls_.erase(at);
  control->RemoveFreeNotification(this);
}

void TSkFrameController::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  controls_.erase(std::remove(controls_.begin(), controls_.end(), component), controls_.end());
  if (component == regIniFile_) regIniFile_ = nullptr;
}

void TSkFrameController::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0) Push(fcpAll);
}

void TSkFrameController::Loaded() {
  TComponent::Loaded();
  Push(fcpAll);
}

void TSkFrameController::Push(TSkFrameControllerProperty property) {
  if (updating_ > 0 || (ComponentState() & csLoading)) return;
  for (TComponent* c : std::vector<TComponent*>(controls_)) PushTo(c, property);
}

void TSkFrameController::PushTo(TComponent* control, TSkFrameControllerProperty property) {
  if (auto* client = dynamic_cast<TSkFrameControllerClient*>(control)) {
    client->UpdateFrameSetting(this, property);
    return;
  }
  const TClassInfo* info = ClassInfoOf(control);
  if (!info) return;
  auto one = [&](TSkFrameControllerProperty p) {
    const TPropInfo* prop = GetPropInfo(info, PropertyName(p));
    if (!prop || !prop->SetOrd) return;
    if (const TPropInfo* filter = GetPropInfo(info, "FrameControllerNotifications"); filter && filter->GetOrd)
      if (!(filter->GetOrd(control) & (std::int64_t{1} << p))) return;
    prop->SetOrd(control, Value(p));
  };
  if (property != fcpAll) {
    one(property);
    return;
  }
  // The parent's colour first; the own colour only where the parent's is not taken.
  one(fcpParentColor);
  for (int p = fcpColor; p < fcpAll; ++p) {
    if (p == fcpParentColor || (p == fcpColor && parentColor_)) continue;
    one(static_cast<TSkFrameControllerProperty>(p));
  }
}

void TSkFrameController::SetColor(TColor value) {
  if (value == color_) return;
  // The focus colour follows when it was the same; the parent's colour no longer counts.
  const platform::UpdateScope update(*this);
  if (focusColor_ == color_) focusColor_ = value;
  color_ = value;
  parentColor_ = false;
}

void TSkFrameController::SetFrameHotTrack(bool value) {
  if (value == frameHotTrack_) return;
  frameHotTrack_ = value;
  if (value) {
    frameVisible_ = true;
    if (!(ComponentState() & csLoading)) frameSides_ = kAllSides;
  }
  Push(value ? fcpAll : fcpFrameHotTrack);
}

void TSkFrameController::SetRegIniFile(TSkRegIniFile* value) {
  if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
  regIniFile_ = value;
  if (value) value->FreeNotification(this);
}

void TSkFrameController::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TSkFrameController*>(source);
  if (!other) {
    TComponent::Assign(source);
    return;
  }
  const platform::UpdateScope update(*this);
  color_ = other->color_;
  disabledColor_ = other->disabledColor_;
  readOnlyColor_ = other->readOnlyColor_;
  readOnlyColorOnFocus_ = other->readOnlyColorOnFocus_;
  flatButtonColor_ = other->flatButtonColor_;
  flatButtons_ = other->flatButtons_;
  focusColor_ = other->focusColor_;
  frameColor_ = other->frameColor_;
  frameHotColor_ = other->frameHotColor_;
  frameHotStyle_ = other->frameHotStyle_;
  frameHotTrack_ = other->frameHotTrack_;
  frameSides_ = other->frameSides_;
  frameStyle_ = other->frameStyle_;
  frameVisible_ = other->frameVisible_;
  framingPreference_ = other->framingPreference_;
  parentColor_ = other->parentColor_;
}

void TSkFrameController::DefineProperties(TFiler* filer) {
  TComponent::DefineProperties(filer);
  // Older layouts: FrameFlat meant hot tracking with the status frame and a lowered hot frame.
  filer->DefineProperty(
      "FrameFlat",
      [this](TReader* reader) {
        if (reader->ReadBoolean()) {
          frameHotTrack_ = true;
          frameStyle_ = fsStatus;
          frameHotStyle_ = fsLowered;
        }
      },
      TSkOldPropReader::WriteNothing, false);
  filer->DefineProperty(
      "FrameFocusStyle",
      [this](TReader* reader) {
        const std::string name = reader->ReadIdent().ToStd();
        const auto at = std::find(kFrameNames.begin(), kFrameNames.end(), name);
        if (at != kFrameNames.end()) frameHotStyle_ = static_cast<TFrameStyleEx>(at - kFrameNames.begin());
      },
      TSkOldPropReader::WriteNothing, false);
  filer->DefineProperty("FrameFlatStyle", TSkOldPropReader::ReadEnum, TSkOldPropReader::WriteNothing, false);
}

void TSkFrameController::Load(const AnsiString& section) {
  if (!regIniFile_)
    throw ENoRegIniFile("Cannot load Custom Framing settings--No TSkRegIniFile component specified");
  TSkRegIniFile* r = regIniFile_;
  const platform::UpdateScope update(*this);
  color_ = r->ReadInteger(section, "Color", clWindow);
  flatButtonColor_ = r->ReadInteger(section, "FlatButtonColor", clBtnFace);
  flatButtons_ = r->ReadBool(section, "FlatButtons", true);
  disabledColor_ = r->ReadInteger(section, "DisabledColor", clWindow);
  readOnlyColor_ = r->ReadInteger(section, "ReadOnlyColor", clInfoBk);
  readOnlyColorOnFocus_ = r->ReadBool(section, "ReadOnlyColorOnFocus", false);
  focusColor_ = r->ReadInteger(section, "FocusColor", clWindow);
  frameColor_ = r->ReadInteger(section, "FrameColor", clBtnShadow);
  frameHotColor_ = r->ReadInteger(section, "FrameHotColor", clBtnShadow);
  frameHotStyle_ = static_cast<TFrameStyleEx>(
      std::clamp(r->ReadInteger(section, "FrameHotStyle", fsFlatBold), 0, static_cast<int>(fsFlatRounded)));
  frameHotTrack_ = r->ReadBool(section, "FrameHotTrack", false);
  TSides sides = 0;
  const char* const sideKeys[] = {"FrameSides_Left", "FrameSides_Top", "FrameSides_Right",
                                  "FrameSides_Bottom"};
  for (int s = 0; s < 4; ++s)
    if (r->ReadBool(section, sideKeys[s], true)) sides |= 1u << s;
  frameSides_ = sides;
  frameStyle_ = static_cast<TFrameStyleEx>(
      std::clamp(r->ReadInteger(section, "FrameStyle", fsFlat), 0, static_cast<int>(fsFlatRounded)));
  frameVisible_ = r->ReadBool(section, "FrameVisible", false);
  framingPreference_ = r->ReadInteger(section, "FramingPreference", fpXPThemes) == fpCustomFraming
                           ? fpCustomFraming
                           : fpXPThemes;
}

void TSkFrameController::Save(const AnsiString& section) {
  if (!regIniFile_)
    throw ENoRegIniFile("Cannot save Custom Framing settings--No TSkRegIniFile component specified");
  TSkRegIniFile* r = regIniFile_;
  r->WriteInteger(section, "Color", color_);
  r->WriteInteger(section, "FlatButtonColor", flatButtonColor_);
  r->WriteBool(section, "FlatButtons", flatButtons_);
  r->WriteInteger(section, "DisabledColor", disabledColor_);
  r->WriteInteger(section, "ReadOnlyColor", readOnlyColor_);
  r->WriteBool(section, "ReadOnlyColorOnFocus", readOnlyColorOnFocus_);
  r->WriteInteger(section, "FocusColor", focusColor_);
  r->WriteInteger(section, "FrameColor", frameColor_);
  r->WriteInteger(section, "FrameHotColor", frameHotColor_);
  r->WriteInteger(section, "FrameHotStyle", frameHotStyle_);
  r->WriteBool(section, "FrameHotTrack", frameHotTrack_);
  const char* const sideKeys[] = {"FrameSides_Left", "FrameSides_Top", "FrameSides_Right",
                                  "FrameSides_Bottom"};
  for (int s = 0; s < 4; ++s) r->WriteBool(section, sideKeys[s], (frameSides_ >> s) & 1);
  r->WriteInteger(section, "FrameStyle", frameStyle_);
  r->WriteBool(section, "FrameVisible", frameVisible_);
  r->WriteInteger(section, "FramingPreference", framingPreference_);
}

void RegisterSkFrameController() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterSkRegIniFile();
  static const std::vector<std::string> sideNames{"sdLeft", "sdTop", "sdRight", "sdBottom"};
  static const std::vector<std::string> framingNames{"fpCustomFraming", "fpXPThemes"};
  using T = TSkFrameController;
  RegisterProperties<T>("TSkFrameController", "TComponent", Factory<T>())
      .Color("Color", &T::Color, &T::SetColor, clWindow)
      .Color("DisabledColor", &T::DisabledColor, &T::SetDisabledColor, clBtnFace)
      .Color("ReadOnlyColor", &T::ReadOnlyColor, &T::SetReadOnlyColor, clInfoBk)
      .Bool("ReadOnlyColorOnFocus", &T::ReadOnlyColorOnFocus, &T::SetReadOnlyColorOnFocus, false)
      .Color("FlatButtonColor", &T::FlatButtonColor, &T::SetFlatButtonColor, clBtnFace)
      .Bool("FlatButtons", &T::FlatButtons, &T::SetFlatButtons, true)
      .Color("FocusColor", &T::FocusColor, &T::SetFocusColor, clWindow)
      .Color("FrameColor", &T::FrameColor, &T::SetFrameColor, clBtnShadow)
      .Color("FrameHotColor", &T::FrameHotColor, &T::SetFrameHotColor, clBtnShadow)
      .Enum("FrameHotStyle", &T::FrameHotStyle, &T::SetFrameHotStyle, fsFlatBold, &kFrameNames)
      .Bool("FrameHotTrack", &T::FrameHotTrack, &T::SetFrameHotTrack, false)
      .Set("FrameSides", &T::FrameSides, &T::SetFrameSides, kAllSides, &sideNames)
      .Enum("FrameStyle", &T::FrameStyle, &T::SetFrameStyle, fsFlat, &kFrameNames)
      .Bool("FrameVisible", &T::FrameVisible, &T::SetFrameVisible, false)
      .Enum("FramingPreference", &T::FramingPreference, &T::SetFramingPreference, fpXPThemes, &framingNames)
      .Bool("ParentColor", &T::ParentColor, &T::SetParentColor, false)
      .Component<TSkRegIniFile>("RegIniFile", &T::RegIniFile, &T::SetRegIniFile);
}
