// TResizeHost: what the picture compression dialog and the picture-size settings dialog read
// from and store in the window that opens them: the picture being compressed, the folder the
// results go to, the running number of their files, the window that takes the result, and the
// three picture-size settings. The main window answers with its own fields; a test answers
// with its own, so each dialog runs alone.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/WinTypes.h"

struct TResizeSettings {
  int width = 640;
  int height = 480;
  int mode = 1;  // 1 the first way of sizing, 0 the second
};

class TResizeHost {
 public:
  virtual ~TResizeHost() = default;
  // The picture the compression dialog works on ("" when there is none).
  virtual AnsiString PicturePath() const = 0;
  // The folder the dialog writes its results and intermediate files into.
  virtual AnsiString SizeTempPath() const = 0;
  // Advances the running number of the dialog's files and answers the new value.
  virtual int NextPicNumber() = 0;
  // The window that is sent the result to insert.
  virtual HWND InsertTarget() const = 0;
  virtual TResizeSettings Settings() const = 0;
  virtual void StoreSettings(const TResizeSettings& settings) = 0;
};
