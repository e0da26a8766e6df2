// The wide-aware window actions over the program's top-level forms.
#pragma once

#include "platform/forms/TWindowAction.h"
#include "unicode/UcStdActns.h"

class TUcWindowAction : public TUcStdActionOf<TWindowAction> {
 public:
  explicit TUcWindowAction(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcWindowClose : public TUcStdActionOf<TWindowClose> {
 public:
  explicit TUcWindowClose(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcWindowCascade : public TUcStdActionOf<TWindowCascade> {
 public:
  explicit TUcWindowCascade(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcWindowTileHorizontal : public TUcStdActionOf<TWindowTileHorizontal> {
 public:
  explicit TUcWindowTileHorizontal(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcWindowTileVertical : public TUcStdActionOf<TWindowTileVertical> {
 public:
  explicit TUcWindowTileVertical(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcWindowMinimizeAll : public TUcStdActionOf<TWindowMinimizeAll> {
 public:
  explicit TUcWindowMinimizeAll(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcWindowArrange : public TUcStdActionOf<TWindowArrange> {
 public:
  explicit TUcWindowArrange(TComponent* owner) : TUcStdActionOf(owner) {}
};
