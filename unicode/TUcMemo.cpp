#include "unicode/TUcMemo.h"

TUcCustomMemo::TUcCustomMemo(TComponent* owner)
    : TUcEditOf(owner), lines_(std::make_unique<TUcMemoStrings>(this, TCustomMemo::Lines())) {}

TUcCustomMemo::~TUcCustomMemo() {
  Destroying();
  lines_.reset();
}

void TUcCustomMemo::SetLines(TUcStrings* value) { lines_->Assign(value); }
