// TPicResize: the picture compression dialog. One track bar scales the picture from 1 to
// 100 % of its resolution, the other sets the JPEG quality from 1 to 100 %; each movement
// re-encodes the picture through the image library into the Sizetemp folder (a result "Tmpic"
// and an intermediate "mid_1" or "mid_2", numbered by the host's running counter) and shows
// the result. Each bar works on the other bar's last intermediate file. OK sends the last
// result's path to the host's window with WM_INSERTPICTURE, synchronously; OK, Cancel and the
// close button hide the dialog. A step the image library cannot complete leaves the dialog as
// it was, and a result the form library cannot show leaves the preview empty.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/forms/TForm.h"
#include "platform/rtl/AnsiString.h"

class IxImage;
class TImButton;
class TImage;
class TLabel;
class TResizeHost;
class TSkTrackBar;

// Sent (never posted) to the window that inserts the compressed picture; lParam points at the
// picture's NUL-terminated 8-bit path, valid during the call.
constexpr UINT WM_INSERTPICTURE = 0x402;

// The image library's format ids the dialog deals in.
constexpr uint32_t kFormatDetect = 0, kFormatBmp = 1, kFormatGif = 2, kFormatJpeg = 3;

// The format id of a picture by its extension: ".BMP" 1, ".GIF" 2, ".JPG" 3 (any case), else 0.
uint32_t PictureFormatOf(const AnsiString& path);

// One re-encoding step: the source loaded with its format id, scaled to `percent` of its size
// (each side at least 2, nearest pixel) unless `percent` is 0, given the JPEG quality `quality`
// unless it is 0, and saved as GIF when `gif` is set, else as JPEG, to `result` and (unless
// empty) to `intermediate`. The encoded image, or null when any stage failed; then no file of
// the step is left behind.
struct TReencodeStep {
  AnsiString source;
  uint32_t sourceFormat = kFormatDetect;
  int percent = 0;
  int quality = 0;
  bool gif = false;
  AnsiString result;
  AnsiString intermediate;
};
std::unique_ptr<IxImage> Reencode(const TReencodeStep& step);

class TPicResize : public TForm {
 public:
  // The dialog read from its layout, its texts set and the host's picture as its result.
  static TPicResize* New(TComponent* owner, TResizeHost* host);
  ~TPicResize() override;

  TImage* Image2 = nullptr;  // the background
  TImage* Image1 = nullptr;  // the preview
  TLabel* Title = nullptr;
  TLabel* Resolution = nullptr;
  TLabel* Qulity = nullptr;
  TLabel* lb_res = nullptr;
  TLabel* lb_Qulity = nullptr;
  TSkTrackBar* TrackBar1 = nullptr;  // resolution
  TSkTrackBar* TrackBar2 = nullptr;  // quality
  TImButton* OKButton = nullptr;
  TImButton* CancleButton = nullptr;
  TImButton* ImButton1 = nullptr;

  // The file OK hands over, and the last intermediate files of the two bars.
  const AnsiString& ResultPath() const { return resultPath_; }
  const AnsiString& ResolutionPath() const { return midResolution_; }
  const AnsiString& QualityPath() const { return midQuality_; }
  // The dialog's current image (null before the first successful change).
  const IxImage* Image() const { return image_.get(); }

  void setCaption();
  // Loads a picture into the preview; one the form library cannot show leaves it empty.
  void ShowPreview(const AnsiString& path);
  // Tells the user that the picture could not be scaled or re-encoded.
  void CannotCompress();

  void FormCreate(TObject* sender);
  void FormPaint(TObject* sender);
  void OKButtonClick(TObject* sender);
  void CancleButtonClick(TObject* sender);
  void ImButton1Click(TObject* sender);
  void PicResizeMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void TrackBar1Change(TObject* sender);
  void TrackBar2Change(TObject* sender);

 protected:
  TPicResize(TComponent* owner, TResizeHost* host);
  void Loaded() override;
  void WndProc(TMessage& message) override;

 private:
  // The picture a change starts from: the host's picture while the other bar is at 100, else
  // the other bar's intermediate file. False when there is none.
  bool SourceFor(int otherPosition, const AnsiString& otherIntermediate, AnsiString* source,
                 uint32_t* format) const;
  // Whether the preview must shrink a picture of this size to show it whole.
  bool NeedsStretch(uint32_t width, uint32_t height) const;

  TResizeHost* host_;
  std::unique_ptr<IxImage> image_;
  AnsiString resultPath_, midResolution_, midQuality_;
};

// Registers the dialog's class, its handlers and the classes of its controls for layouts.
void RegisterPicResize();
