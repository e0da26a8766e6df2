// TMetafile: vector pictures are not drawn here; the class exists so that such files are
// recognised by their extension, and loading one raises EInvalidGraphic.
#pragma once

#include "platform/forms/TGraphic.h"

class TMetafile : public TGraphic {
 public:
  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream*) override {}

 protected:
  void Draw(TCanvas*, const RECT&) override {}
  bool GetEmpty() const override { return true; }
  int GetWidth() const override { return 0; }
  int GetHeight() const override { return 0; }
  void SetWidthImpl(int) override {}
  void SetHeightImpl(int) override {}
};
