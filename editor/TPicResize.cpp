#include "editor/TPicResize.h"

#include <algorithm>

#include "controls/TImButton.h"
#include "controls/TSkTrackBar.h"
#include "editor/EditorResources.h"
#include "editor/TEditorBox.h"
#include "editor/TMsgBox.h"
#include "editor/TResStringManager.h"
#include "editor/TResizeHost.h"
#include "imagelib/IxConvertTo24Bits.h"
#include "imagelib/IxImage.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TPicture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Win.h"

namespace {

// Both bars run from 1 to 100 %; at 100 a bar leaves the picture as it is.
constexpr int kWhole = 100;
// The smallest side a scaled picture gets.
constexpr int32_t kSmallestSide = 2;

// The format id of an intermediate file: GIF by its extension, otherwise JPEG.
uint32_t IntermediateFormatOf(const AnsiString& path) {
  const AnsiString ext = ExtractFileExt(path);
  return ext == ".gif" || ext == ".GIF" ? kFormatGif : kFormatJpeg;
}

template <class T>
T* Need(TComponent* form, const char* name) {
  T* found = dynamic_cast<T*>(form->FindComponent(name));
  if (!found) throw Exception(AnsiString("The compression dialog's layout has no ") + name);
  return found;
}

}  // namespace

uint32_t PictureFormatOf(const AnsiString& path) {
  const AnsiString ext = UpperCase(ExtractFileExt(path));
  if (ext == ".BMP") return kFormatBmp;
  if (ext == ".GIF") return kFormatGif;
  if (ext == ".JPG") return kFormatJpeg;
  return kFormatDetect;
}

std::unique_ptr<IxImage> Reencode(const TReencodeStep& step) {
  // An empty object of the source's format: the file is decoded once, by Load.
  auto image = std::make_unique<IxImage>(step.sourceFormat);
  if (!image->Load(step.source.c_str(), step.sourceFormat) || !image->IsValid()) return nullptr;
  if (step.percent > 0) {
    const int32_t width =
        std::max<int32_t>(int32_t(int64_t(image->GetWidth()) * step.percent / 100), kSmallestSide);
    const int32_t height =
        std::max<int32_t>(int32_t(int64_t(image->GetHeight()) * step.percent / 100), kSmallestSide);
    if (!image->Resample(width, height, 1)) return nullptr;
  }
  // The JPEG encoder takes 24-bit pictures and 8-bit grey ramps only: a palette picture (an 8-bit
  // BMP, say) is given its colours first.
  const bool grey = image->GetBpp() == 8 && image->IsGrayScale();
  if (!step.gif && image->IsIndexed() && !grey && !IxConvertTo24Bits(*image)) return nullptr;
  if (step.quality > 0) image->SetJpegQuality(uint8_t(step.quality));
  const uint32_t format = step.gif ? kFormatGif : kFormatJpeg;
  // A file the step could not write whole is not left for anyone to take.
  if (!image->Save(step.result.c_str(), format)) {
    DeleteFile(step.result);
    return nullptr;
  }
  if (!step.intermediate.IsEmpty() && !image->Save(step.intermediate.c_str(), format)) {
    DeleteFile(step.result);
    DeleteFile(step.intermediate);
    return nullptr;
  }
  return image;
}

TPicResize::TPicResize(TComponent* owner, TResizeHost* host) : TForm(owner), host_(host) {
  RegisterPicResize();
}

TPicResize::~TPicResize() = default;

TPicResize* TPicResize::New(TComponent* owner, TResizeHost* host) {
  std::unique_ptr<TPicResize> dialog(new TPicResize(owner, host));
  dialog->AfterConstruction();
  dialog->setCaption();
  if (host) dialog->resultPath_ = host->PicturePath();
  return dialog.release();
}

void TPicResize::Loaded() {
  TForm::Loaded();
  Image2 = Need<TImage>(this, "Image2");
  Image1 = Need<TImage>(this, "Image1");
  Title = Need<TLabel>(this, "Title");
  Resolution = Need<TLabel>(this, "Resolution");
  Qulity = Need<TLabel>(this, "Qulity");
  lb_res = Need<TLabel>(this, "lb_res");
  lb_Qulity = Need<TLabel>(this, "lb_Qulity");
  TrackBar1 = Need<TSkTrackBar>(this, "TrackBar1");
  TrackBar2 = Need<TSkTrackBar>(this, "TrackBar2");
  OKButton = Need<TImButton>(this, "OKButton");
  CancleButton = Need<TImButton>(this, "CancleButton");
  ImButton1 = Need<TImButton>(this, "ImButton1");
}

void TPicResize::setCaption() {
  auto text = [](const char* key) { return AnsiString(ResStringManager.GetString(key)); };
  Title->SetCaption(text("STR_ResizeFrm_Title"));
  OKButton->SetCaption(text("STR_Mivora_YES"));
  CancleButton->SetCaption(text("STR_CloseFrm_Cancel"));
  Resolution->SetCaption(text("STR_ResizeFrm_Resolution"));
  Qulity->SetCaption(text("STR_ResizeFrm_Qulity"));
}

void TPicResize::WndProc(TMessage& message) {
  if (message.Msg == WM_REFRESHCAPTION) {
    setCaption();
    return;
  }
  TForm::WndProc(message);
}

void TPicResize::FormCreate(TObject*) { DoubleBuffered = true; }

void TPicResize::FormPaint(TObject*) {
  // Shown here rather than in the layout, so they appear over the painted background.
  for (TControl* control : {static_cast<TControl*>(OKButton), static_cast<TControl*>(CancleButton),
                            static_cast<TControl*>(TrackBar1), static_cast<TControl*>(TrackBar2)})
    if (!control->Visible()) control->SetVisible(true);
}

void TPicResize::OKButtonClick(TObject*) {
  if (resultPath_.IsEmpty()) return;
  // The receiver reads the text during the call; a copy keeps it still if the call changes
  // the dialog.
  const AnsiString path = resultPath_;
  if (host_) SendMessageW(host_->InsertTarget(), WM_INSERTPICTURE, 0, LPARAM(path.c_str()));
  Close();
}

void TPicResize::CancleButtonClick(TObject*) { Close(); }

void TPicResize::ImButton1Click(TObject*) { Close(); }

void TPicResize::PicResizeMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
  if (button != mbLeft) return;
  ReleaseCapture();
  SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

bool TPicResize::SourceFor(int otherPosition, const AnsiString& otherIntermediate, AnsiString* source,
                           uint32_t* format) const {
  if (otherPosition == kWhole) {
    *source = host_->PicturePath();
    *format = PictureFormatOf(*source);
    return true;
  }
  if (otherIntermediate.IsEmpty()) return false;
  *source = otherIntermediate;
  *format = IntermediateFormatOf(otherIntermediate);
  return true;
}

bool TPicResize::NeedsStretch(uint32_t width, uint32_t height) const {
  return int64_t(width) > Image1->Width() || int64_t(height) > Image1->Height();
}

void TPicResize::CannotCompress() { ShowMsgBox("STR_ResizeFrm_Error"); }

void TPicResize::ShowPreview(const AnsiString& path) {
  try {
    Image1->Picture()->LoadFromFile(path);
  } catch (const std::exception&) {
    // A picture the form library has no class for (or a damaged one) is not shown.
    Image1->Picture()->Assign(nullptr);
  }
}

void TPicResize::TrackBar1Change(TObject*) {
  if (!host_) return;
  const int number = host_->NextPicNumber();
  const AnsiString picture = host_->PicturePath();
  if (picture.IsEmpty()) return;
  TReencodeStep step;
  if (!SourceFor(TrackBar2->Position(), midQuality_, &step.source, &step.sourceFormat)) return;
  const int percent = TrackBar1->Position();
  step.percent = percent;
  step.gif = PictureFormatOf(picture) == kFormatGif;
  const AnsiString ext = step.gif ? ".gif" : ".jpg";
  const AnsiString folder = host_->SizeTempPath();
  step.result = folder + "/Tmpic" + IntToStr(number) + ext;
  step.intermediate = folder + "/mid_1" + IntToStr(number) + ext;
  std::unique_ptr<IxImage> image = Reencode(step);
  if (!image) return CannotCompress();  // the dialog stays as it was
  image_ = std::move(image);
  resultPath_ = step.result;
  midResolution_ = step.intermediate;
  Image1->SetStretch(NeedsStretch(image_->GetWidth(), image_->GetHeight()));
  lb_res->SetCaption(IntToStr(int(image_->GetWidth())) + " * " + IntToStr(int(image_->GetHeight())) + "  (" +
                     IntToStr(percent) + "%)");
  ShowPreview(resultPath_);
  TrackBar1->Refresh();
}

void TPicResize::TrackBar2Change(TObject*) {
  if (!host_) return;
  const int number = host_->NextPicNumber();
  const AnsiString picture = host_->PicturePath();
  if (picture.IsEmpty()) return;
  TReencodeStep step;
  if (!SourceFor(TrackBar1->Position(), midResolution_, &step.source, &step.sourceFormat)) return;
  const int quality = TrackBar2->Position();
  step.quality = quality;
  step.gif = PictureFormatOf(picture) == kFormatGif;
  const AnsiString ext = step.gif ? ".gif" : ".jpg";
  const AnsiString folder = host_->SizeTempPath();
  step.result = folder + "/Tmpic" + IntToStr(number) + ext;
  step.intermediate = folder + "/mid_2" + IntToStr(number) + ext;
  std::unique_ptr<IxImage> image = Reencode(step);
  if (!image) return CannotCompress();
  image_ = std::move(image);
  resultPath_ = step.result;
  midQuality_ = step.intermediate;
  Image1->SetStretch(NeedsStretch(image_->GetWidth(), image_->GetHeight()));
  lb_Qulity->SetCaption("100%  (" + IntToStr(quality) + "%)");
  ShowPreview(resultPath_);
  TrackBar2->Refresh();
}

void RegisterPicResize() {
  static const bool done = [] {
    RegisterEditorResources();
    RegisterImButton();
    RegisterSkTrackBar();
    RegisterProperties<TPicResize>("TPicResize", "TForm")
        .Handler("FormCreate", &TPicResize::FormCreate)
        .Handler("FormPaint", &TPicResize::FormPaint)
        .Handler("OKButtonClick", &TPicResize::OKButtonClick)
        .Handler("CancleButtonClick", &TPicResize::CancleButtonClick)
        .Handler("ImButton1Click", &TPicResize::ImButton1Click)
        .Handler("PicResizeMouseDown", &TPicResize::PicResizeMouseDown)
        .Handler("TrackBar1Change", &TPicResize::TrackBar1Change)
        .Handler("TrackBar2Change", &TPicResize::TrackBar2Change);
    return true;
  }();
  (void)done;
}
