#include "editor/TMmsViewer.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "controls/TImButton.h"
#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "mms/SlideTextFile.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/controls/PlaySound.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TMediaPlayer.h"
#include "platform/forms/TPanel.h"
#include "platform/forms/TScrollBox.h"
#include "platform/forms/TShape.h"
#include "platform/forms/TTimer.h"
#include "platform/rtl/SysUtils.h"

TMmsViewer* MmsViewer = nullptr;

namespace {

// The slide show's state, one pair for the process: the next slide to show and the number of
// slides when the show started.
int playIndex = 0;
int playCount = 0;

// The memo's place with a picture above it, and alone.
constexpr int kMemoTopUnderPicture = 75, kMemoHeightUnderPicture = 93;
constexpr int kMemoTopAlone = 3, kMemoHeightAlone = 165;

// The extension of the file-name part of `path` (a point in a folder's name does not count),
// without the point; empty when the name has none.
std::string ExtensionOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t point = name.rfind('.');
  return point == std::string::npos ? std::string() : name.substr(point + 1);
}

// MIDI files need a MIDI output; every other sound a wave output.
bool SoundDeviceFor(const std::string& path) {
  std::string ext = ExtensionOf(path);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == "mid" ? midiOutGetNumDevs() > 0 : waveOutGetNumDevs() > 0;
}

template <class T>
void Bind(TComponent* form, T*& field, const char* name) {
  field = dynamic_cast<T*>(form->FindComponent(name));
  if (!field) throw Exception(AnsiString("The preview window's layout has no ") + name);
}

}  // namespace

TMmsViewer::TMmsViewer(TComponent* owner) : TForm(owner) {
  pauseTimer_ = new TTimer(this);
  pauseTimer_->SetEnabled(false);
  pauseTimer_->SetInterval(kEndPauseMs);
  pauseTimer_->OnTimer = [this](TObject* sender) { EndShow(sender); };
}

TMmsViewer::~TMmsViewer() {
  if (MmsViewer == this) MmsViewer = nullptr;
}

void TMmsViewer::Loaded() {
  TForm::Loaded();
  Bind(this, btnPlay, "btnPlay");
  Bind(this, btnStop, "btnStop");
  Bind(this, ScrollBox1, "ScrollBox1");
  Bind(this, Shape1, "Shape1");
  Bind(this, Image1, "Image1");
  Bind(this, AudioPlayer, "AudioPlayer");
  Bind(this, Timer1, "Timer1");
  Bind(this, Shape2, "Shape2");
  Bind(this, memo, "memo");
}

void TMmsViewer::FormCreate(TObject*) {
  Timer1->SetEnabled(false);
  btnPlay->SetEnabled(true);
  btnPlay->SetHint(AnsiString(ResStringManager.GetString("STR_Play")));
  btnStop->SetHint(AnsiString(ResStringManager.GetString("STR_Stop")));
}

bool TMmsViewer::Playing() const { return !btnPlay->Enabled(); }

bool TMmsViewer::Pausing() const { return pauseTimer_->Enabled(); }

void TMmsViewer::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == WM_SHOWFRAME) {
    if (btnPlay->Enabled()) ShowFrame(static_cast<int>(m.LParam));
    return;
  }
  TForm::Dispatch(message);
}

void TMmsViewer::btnPlayClick(TObject*) {
  btnPlay->SetEnabled(false);
  playCount = mms ? mms->Body->GetFrameCount() : 0;
  playIndex = 0;
  if (playCount == 0) return;  // Play stays disabled until Stop
  ShowFrame(0);
  playIndex = 1;
  Timer1->SetInterval(static_cast<unsigned>(std::max(1, mms->Body->GetFrameDur(0))));
  Timer1->SetEnabled(true);
}

void TMmsViewer::btnStopClick(TObject*) {
  pauseTimer_->SetEnabled(false);
  StopSound();
  Timer1->SetEnabled(false);
  playIndex = 0;
  btnPlay->SetEnabled(true);
  ShowFrame(0);
}

void TMmsViewer::Timer1Timer(TObject*) {
  ShowFrame(playIndex);
  ++playIndex;
}

void TMmsViewer::FormCloseQuery(TObject*, bool& canClose) {
  StopSound();
  canClose = true;
}

void TMmsViewer::StopSound() {
  try {
    AudioPlayer->Close();
  } catch (Exception&) {
    // Nothing was open.
  }
  PlaySoundA(nullptr, nullptr, 0);
}

void TMmsViewer::EndShow(TObject*) {
  pauseTimer_->SetEnabled(false);
  StopSound();
  btnPlay->SetEnabled(true);
  Timer1->SetEnabled(false);
}

void TMmsViewer::Dock(TWinControl* panel, TK3VNMms* message, const AnsiString& previewFolder) {
  SetParent(panel);
  SetBounds(0, 0, panel->Width(), panel->Height());
  mms = message;
  previewDir = previewFolder;
  Show();
}

void TMmsViewer::SetIntervalFromPlayIndex() {
  const int count = mms ? mms->Body->GetFrameCount() : 0;
  const int dur = playIndex >= 0 && playIndex < count ? mms->Body->GetFrameDur(playIndex) : 0;
  // A 0 ms slide would stop the timer and hang the show: the shortest period passes it.
  Timer1->SetInterval(static_cast<unsigned>(std::max(1, dur)));
}

AnsiString TMmsViewer::CopyToPreview(const AnsiString& source, int counter) const {
  const std::string ext = ExtensionOf(source.ToStd());
  const AnsiString name = AnsiString(std::to_string(counter)) + (ext.empty() ? "" : "." + ext).c_str();
  const AnsiString copy = previewDir + "/" + name;
  std::ifstream in(platform::FsPath(source), std::ios::binary);
  if (!in) return AnsiString();
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream out(platform::FsPath(copy), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return out ? copy : AnsiString();
}

int TMmsViewer::ShowFrame(int index) {
  // The tick after the last slide: the last slide stays on screen for the closing pause.
  if (playIndex >= playCount && !btnPlay->Enabled()) {
    Timer1->SetEnabled(false);
    if (!pauseTimer_->Enabled()) pauseTimer_->SetEnabled(true);
    return 0;
  }
  if (!mms) return kNoDocument;
  if (index < 0 || index >= mms->Body->GetFrameCount()) return 0;
  const TMmsFrame* frame = mms->Body->GetFrame(index);
  if (!frame) return 0;

  int result = 1;
  Image1->Picture()->Assign(nullptr);
  bool pictureShown = false;
  if (frame->GetItem(TMediaItem::kImage)) {
    // The copy gets a new number even when it cannot be loaded: the name is never used twice.
    const AnsiString copy = CopyToPreview(AnsiString(frame->GetItemPath(TMediaItem::kImage)), pictureCounter);
    ++pictureCounter;
    try {
      if (copy.IsEmpty()) throw Exception("The picture could not be copied");
      Image1->Picture()->LoadFromFile(copy);
      pictureShown = true;
    } catch (Exception&) {
      // Shown as a slide without a picture; its text, sound and time still apply.
      Image1->Picture()->Assign(nullptr);
      result = 0;
    }
  }
  if (pictureShown) {
    Image1->SetVisible(true);
    memo->SetTop(kMemoTopUnderPicture);
    memo->SetHeight(kMemoHeightUnderPicture);
  } else {
    Image1->SetVisible(false);
    memo->SetTop(kMemoTopAlone);
    memo->SetHeight(kMemoHeightAlone);
  }

  std::unique_ptr<char16_t[]> text = ReadFrameText(frame);
  const char16_t* shown = text.get();
  if (shown && *shown == 0xFEFF) ++shown;  // the byte-order mark is not part of the text
  if (shown && *shown) memo->SetVisible(true);
  ScrollBox1->VertScrollBar()->SetRange(80);
  memo->SetText(WideString());
  if (shown && *shown) memo->SetText(WideString(shown));
  text.reset();

  StopSound();
  const TMediaItem* sound = frame->GetItem(TMediaItem::kAudio);
  if (!sound) {
    SetIntervalFromPlayIndex();
    return result;
  }
  const std::string soundPath = frame->GetItemPath(TMediaItem::kAudio);
  if (!SoundDeviceFor(soundPath)) {
    SetIntervalFromPlayIndex();
    return 0;
  }
  const AnsiString copy = CopyToPreview(AnsiString(soundPath), soundCounter);
  // Every copy takes its own number, so the next one never overwrites a sound still playing.
  ++soundCounter;
  try {
    AudioPlayer->SetFileName(copy);
    AudioPlayer->Open();
    AudioPlayer->Play();
  } catch (Exception&) {
    SetIntervalFromPlayIndex();
    try {
      AudioPlayer->Close();
    } catch (Exception&) {
      // Nothing was open.
    }
    PlaySoundA(copy.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
    return 0;
  }
  SetIntervalFromPlayIndex();
  return result;
}

void RegisterMmsViewer() {
  static const bool done = [] {
    RegisterEditorForms();
    RegisterProperties<TMmsViewer>("TMmsViewer", "TForm", Factory<TMmsViewer>())
        .Handler("FormCreate", &TMmsViewer::FormCreate)
        .Handler("FormCloseQuery", &TMmsViewer::FormCloseQuery)
        .Handler("btnPlayClick", &TMmsViewer::btnPlayClick)
        .Handler("btnStopClick", &TMmsViewer::btnStopClick)
        .Handler("Timer1Timer", &TMmsViewer::Timer1Timer);
    return true;
  }();
  (void)done;
}
