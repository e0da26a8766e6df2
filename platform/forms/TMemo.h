// TCustomMemo and TMemo: the multi-line edit. Lines presents the text as a TStrings
// (TMemoStrings); ScrollBars, WordWrap and Alignment are fixed by the window at creation and
// make it again; WantReturns and WantTabs decide whether Enter and Tab reach the text or the
// form (the default and cancel buttons, the next control). The Unicode memo and the rich edit
// derive from TCustomMemo.
#pragma once

#include <memory>

#include "platform/forms/TEdit.h"
#include "platform/forms/TMemoStrings.h"

class TCustomMemo : public TCustomEdit {
 public:
  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override;

  TStrings* Lines() const { return lines_.get(); }
  virtual void SetLines(TStrings* value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // The caret's line and column (bytes from the line's start).
  POINT CaretPos();

  void Dispatch(void* message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  DWORD AlignmentStyle() const override;
  bool KeyPress(char& key) override;
  // Subclasses with lines of their own (the rich edit) put theirs here.
  void ReplaceLines(std::unique_ptr<TStrings> lines) { lines_ = std::move(lines); }

 private:
  std::unique_ptr<TStrings> lines_;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
  TAlignment alignment_ = taLeftJustify;
};

class TMemo : public TCustomMemo {
 public:
  explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};
