// The form library's memo with a UTF-16 window (see TUcEditOf) and wide lines.
#pragma once

#include <memory>

#include "platform/forms/TMemo.h"
#include "unicode/TUcEditOf.h"
#include "unicode/TUcMemoStrings.h"

class TUcCustomMemo : public TUcEditOf<TCustomMemo> {
 public:
  explicit TUcCustomMemo(TComponent* owner);
  ~TUcCustomMemo() override;
  TUcStrings* Lines() const { return lines_.get(); }
  virtual void SetLines(TUcStrings* value);
  // The 8-bit form stays reachable beside the wide one.
  using TCustomMemo::SetLines;

 private:
  std::unique_ptr<TUcMemoStrings> lines_;
};

class TUcMemo : public TUcCustomMemo {
 public:
  explicit TUcMemo(TComponent* owner) : TUcCustomMemo(owner) {}
};
