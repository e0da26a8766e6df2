// TIcon: a picture read from an icon file (the image nearest 32 x 32 pixels), drawn with its
// uncovered pixels left out. Its size is the image's; an icon cannot be resized.
#pragma once

#include <vector>

#include "platform/forms/MaskedImage.h"
#include "platform/forms/TGraphic.h"
#include "platform/win/WinTypes.h"

class TIcon : public TGraphic {
 public:
  TIcon() = default;
  // Reads the rest of the stream as an icon file; bad data raises EInvalidGraphic and keeps
  // the icon as it was.
  void LoadFromStream(TStream* stream) override;
  // Writes the icon file as it was read.
  void SaveToStream(TStream* stream) override;
  void Assign(TPersistent* source) override;
  // The decoded image.
  const TMaskedImage& Image() const { return image_; }
  // An icon LoadIcon gave; null for an icon read from a file. Setting one that LoadIcon did not
  // give raises EInvalidGraphic and keeps the icon as it was.
  HICON Handle() const { return handle_; }
  void SetHandle(HICON icon);

 protected:
  void Draw(TCanvas* canvas, const RECT& rect) override;
  bool GetEmpty() const override { return image_.Width == 0; }
  int GetWidth() const override { return image_.Width; }
  int GetHeight() const override { return image_.Height; }
  void SetWidthImpl(int value) override;
  void SetHeightImpl(int value) override;
  bool GetTransparent() const override { return true; }

 private:
  TMaskedImage image_;
  std::vector<std::uint8_t> file_;
  HICON handle_ = nullptr;

  void Take(std::vector<std::uint8_t> bytes);
};
