// TCustomAction and TAction: an action with what its clients show (caption, hint, enabled,
// checked, visible) and a shortcut. Each setter tells the links before it stores the new value,
// so a link can still compare its client with the old one (IsCaptionLinked ...), then the
// action's change goes out. Executing runs the update first and does nothing while disabled.
#pragma once

#include "platform/forms/ShortCuts.h"
#include "platform/forms/TContainedAction.h"

using THintEvent = std::function<void(AnsiString& hintStr, bool& canShow)>;

class TCustomAction : public TContainedAction {
 public:
  explicit TCustomAction(TComponent* owner);

  // Virtual so that a subclass may keep a wider form of the texts beside the 8-bit ones.
  virtual AnsiString GetCaption() const { return caption_; }
  virtual void SetCaption(const AnsiString& value);
  virtual AnsiString GetHint() const { return hint_; }
  virtual void SetHint(const AnsiString& value);
  AnsiString Caption() const { return GetCaption(); }
  AnsiString Hint() const { return GetHint(); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value);

  // Updates, then executes while enabled; false when disabled or nobody handled it.
  bool Execute() override;
  // A chord of the action: true (the chord is used up) when the action is enabled after its
  // update and runs; a disabled action leaves the chord to others.
  bool HandleShortCut() override;
  // Lets OnHint change or refuse the hint a control of the action shows.
  virtual bool DoHint(AnsiString& hintStr);

  void Assign(TPersistent* source) override;

  THintEvent OnHint;

 private:
  AnsiString caption_;
  AnsiString hint_;
  bool enabled_ = true;
  bool checked_ = false;
  bool visible_ = true;
  TShortCut shortCut_ = 0;
};

class TAction : public TCustomAction {
 public:
  explicit TAction(TComponent* owner) : TCustomAction(owner) {}
};
