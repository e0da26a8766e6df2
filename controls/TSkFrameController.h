// TSkFrameController: one set of frame and colour settings pushed to many controls. A control
// that implements TSkFrameControllerClient is told which setting changed; any other control has
// the setting written into its own published property of the same name, when it has one and its
// "FrameControllerNotifications" set (if any) lets that setting through. A served control that
// is freed leaves the list.
#pragma once

#include <vector>

#include "controls/FrameDrawing.h"
#include "controls/TSkDialogComponent.h"
#include "controls/TSkRegIniFile.h"
#include "platform/forms/TControl.h"

enum TSkFrameControllerProperty {
  fcpColor,
  fcpFocusColor,
  fcpDisabledColor,
  fcpReadOnlyColor,
  fcpReadOnlyColorOnFocus,
  fcpParentColor,
  fcpFlatButtonColor,
  fcpFlatButtons,
  fcpFrameColor,
  fcpFrameHotColor,
  fcpFrameHotTrack,
  fcpFrameHotStyle,
  fcpFrameSides,
  fcpFrameStyle,
  fcpFrameVisible,
  fcpFramingPreference,
  fcpAll
};

class TSkFrameController;

// What a control offers to be told of the controller's settings itself.
class TSkFrameControllerClient {
 public:
  virtual ~TSkFrameControllerClient() = default;
  virtual void UpdateFrameSetting(TSkFrameController* controller, TSkFrameControllerProperty property) = 0;
};

class TSkFrameController : public TComponent {
 public:
  explicit TSkFrameController(TComponent* owner);
  ~TSkFrameController() override;

  void AddControl(TComponent* control);
  void RemoveControl(TComponent* control);
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  void BeginUpdate() { ++updating_; }
  void EndUpdate();
  void UpdateControls() { Push(fcpAll); }
  void Loaded() override;
  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler* filer) override;

  // Raise ENoRegIniFile without a store.
  void Load(const AnsiString& section);
  void Save(const AnsiString& section);

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TColor DisabledColor() const { return disabledColor_; }
  void SetDisabledColor(TColor value) { Set(disabledColor_, value, fcpDisabledColor); }
  TColor ReadOnlyColor() const { return readOnlyColor_; }
  void SetReadOnlyColor(TColor value) { Set(readOnlyColor_, value, fcpReadOnlyColor); }
  bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
  void SetReadOnlyColorOnFocus(bool value) { Set(readOnlyColorOnFocus_, value, fcpReadOnlyColorOnFocus); }
  TColor FlatButtonColor() const { return flatButtonColor_; }
  void SetFlatButtonColor(TColor value) { Set(flatButtonColor_, value, fcpFlatButtonColor); }
  bool FlatButtons() const { return flatButtons_; }
  void SetFlatButtons(bool value) { Set(flatButtons_, value, fcpFlatButtons); }
  TColor FocusColor() const { return focusColor_; }
  void SetFocusColor(TColor value) { Set(focusColor_, value, fcpFocusColor); }
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor value) { Set(frameColor_, value, fcpFrameColor); }
  TColor FrameHotColor() const { return frameHotColor_; }
  void SetFrameHotColor(TColor value) { Set(frameHotColor_, value, fcpFrameHotColor); }
  TFrameStyleEx FrameHotStyle() const { return frameHotStyle_; }
  void SetFrameHotStyle(TFrameStyleEx value) { Set(frameHotStyle_, value, fcpFrameHotStyle); }
  bool FrameHotTrack() const { return frameHotTrack_; }
  void SetFrameHotTrack(bool value);
  TSides FrameSides() const { return frameSides_; }
  void SetFrameSides(TSides value) { Set(frameSides_, value, fcpFrameSides); }
  TFrameStyleEx FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyleEx value) { Set(frameStyle_, value, fcpFrameStyle); }
  bool FrameVisible() const { return frameVisible_; }
  void SetFrameVisible(bool value) { Set(frameVisible_, value, fcpFrameVisible); }
  TFramingPreference FramingPreference() const { return framingPreference_; }
  void SetFramingPreference(TFramingPreference value) {
    Set(framingPreference_, value, fcpFramingPreference);
  }
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value) { Set(parentColor_, value, fcpParentColor); }
  TSkRegIniFile* RegIniFile() const { return regIniFile_; }
  void SetRegIniFile(TSkRegIniFile* value);

  // The name of a setting's property ("Color" .. "FramingPreference").
  static const char* PropertyName(TSkFrameControllerProperty property);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  template <class V>
  void Set(V& field, V value, TSkFrameControllerProperty property) {
    if (field == value) return;
    field = value;
    Push(property);
  }
  void Push(TSkFrameControllerProperty property);
  void PushTo(TComponent* control, TSkFrameControllerProperty property);
  std::int64_t Value(TSkFrameControllerProperty property) const;

  std::vector<TComponent*> controls_;
  int updating_ = 0;
  TColor color_ = clWindow, disabledColor_ = clBtnFace, readOnlyColor_ = clInfoBk;
  bool readOnlyColorOnFocus_ = false;
  TColor flatButtonColor_ = clBtnFace;
  bool flatButtons_ = true;
  TColor focusColor_ = clWindow, frameColor_ = clBtnShadow, frameHotColor_ = clBtnShadow;
  TFrameStyleEx frameHotStyle_ = fsFlatBold;
  bool frameHotTrack_ = false;
  TSides frameSides_ = kAllSides;
  TFrameStyleEx frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
  bool parentColor_ = false;
  TSkRegIniFile* regIniFile_ = nullptr;
};

// Registers the class and its properties for form layouts.
void RegisterSkFrameController();
