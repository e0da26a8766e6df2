#include "platform/forms/TMediaPlayer.h"

#include <algorithm>

#include "platform/backend/audio/AudioDevice.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Utf8.h"

void ApplicationHandleException(TObject* sender);

namespace {

constexpr UINT_PTR kEndTimer = 1;
// How often a play whose length the data does not tell is looked at.
constexpr int64_t kPollMs = 50;

std::string PathOf(const AnsiString& fileName) {
  return platform::Utf16ToUtf8(platform::MultiByteToUtf16(fileName.ToStd(), CP_ACP));
}

// Whether a device of `type` plays sounds of `kind`: the automatic choice goes by the content.
bool DeviceTakes(TMPDeviceTypes type, platform::audio::SoundKind kind) {
  using platform::audio::SoundKind;
  switch (type) {
    case dtAutoSelect:
      return kind != SoundKind::Unknown;
    case dtWaveAudio:
      return kind == SoundKind::Wave;
    case dtSequencer:
      return kind == SoundKind::Midi;
    case dtOther:
      return kind == SoundKind::Mp3;
    default:
      return false;
  }
}

}  // namespace

TMediaPlayer::TMediaPlayer(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 253, 30);
  window_ = AllocateHWnd([this](TMessage& m) { UtilityWndProc(m); });
}

TMediaPlayer::~TMediaPlayer() {
  OnNotify = nullptr;
  if (handle_) {
    auto& device = platform::audio::Device();
    device.Stop(handle_);
    device.Close(handle_);
    handle_ = 0;
  }
  if (window_) {
    KillTimer(window_, kEndTimer);
    DeallocateHWnd(window_);
  }
}

void TMediaPlayer::SetNotify(bool value) {
  notify_ = value;
  useNotify_ = true;
}

void TMediaPlayer::SetWait(bool value) {
  wait_ = value;
  useWait_ = true;
}

bool TMediaPlayer::TakeNotify() {
  if (!useNotify_) return true;
  useNotify_ = false;
  return notify_;
}

bool TMediaPlayer::TakeWait(bool byDefault) {
  if (!useWait_) return byDefault;
  useWait_ = false;
  return wait_;
}

void TMediaPlayer::CheckOpen() const {
  if (!handle_) throw EMCIDeviceError("No media file is open");
}

void TMediaPlayer::PostNotify(WPARAM code) {
  if (window_) PostMessageW(window_, MM_MCINOTIFY, code, LPARAM(handle_));
}

void TMediaPlayer::EndPendingPlay(WPARAM code) {
  if (!playNotifies_) return;
  playNotifies_ = false;
  if (window_) KillTimer(window_, kEndTimer);
  PostNotify(code);
}

void TMediaPlayer::Open() {
  CloseDevice();
  const bool notify = TakeNotify();
  TakeWait(true);
  const std::string path = PathOf(fileName_);
  const platform::audio::SoundInfo info = platform::audio::ProbeSoundFile(path);
  int handle = 0;
  if (info.error.empty() && DeviceTakes(deviceType_, info.kind))
    handle = platform::audio::Device().Open(path, nullptr);
  if (!handle) throw EMCIDeviceError("Cannot open media file %s", {TVarRec(fileName_)});
  handle_ = handle;
  if (notify) PostNotify(MCI_NOTIFY_SUCCESSFUL);
}

void TMediaPlayer::Play() {
  CheckOpen();
  const bool notify = TakeNotify();
  const bool wait = TakeWait(false);
  // A new play takes the place of one still under way.
  EndPendingPlay(notify ? MCI_NOTIFY_SUPERSEDED : MCI_NOTIFY_ABORTED);
  auto& device = platform::audio::Device();
  if (!device.Play(handle_, !wait)) throw EMCIDeviceError("Cannot play media file %s", {TVarRec(fileName_)});
  if (wait) {
    if (notify) PostNotify(MCI_NOTIFY_SUCCESSFUL);
    return;
  }
  playNotifies_ = notify;
  if (notify) WatchPlay();
}

// Looks again when the sound should have ended (or, with no length known, a little later).
void TMediaPlayer::WatchPlay() {
  if (!window_ || !handle_) return;
  auto& device = platform::audio::Device();
  int64_t wait = device.Length(handle_) - device.Position(handle_);
  if (device.Length(handle_) <= 0 || wait <= 0) wait = kPollMs;
  SetTimer(window_, kEndTimer, UINT(std::min<int64_t>(wait, 0x7FFFFFFF)), nullptr);
}

void TMediaPlayer::Stop() {
  CheckOpen();
  const bool notify = TakeNotify();
  TakeWait(false);
  platform::audio::Device().Stop(handle_);
  EndPendingPlay(MCI_NOTIFY_ABORTED);
  if (notify) PostNotify(MCI_NOTIFY_SUCCESSFUL);
}

void TMediaPlayer::Close() {
  if (!handle_) return;
  const bool notify = TakeNotify();
  TakeWait(true);
  if (notify) {
    EndPendingPlay(MCI_NOTIFY_ABORTED);
    PostNotify(MCI_NOTIFY_SUCCESSFUL);
  }
  CloseDevice();
}

void TMediaPlayer::CloseDevice() {
  if (!handle_) return;
  EndPendingPlay(MCI_NOTIFY_ABORTED);
  auto& device = platform::audio::Device();
  device.Stop(handle_);
  device.Close(handle_);
  handle_ = 0;
}

TMPModes TMediaPlayer::Mode() {
  if (!handle_) return mpNotReady;
  return platform::audio::Device().Playing(handle_) ? mpPlaying : mpStopped;
}

int64_t TMediaPlayer::Length() {
  CheckOpen();
  return platform::audio::Device().Length(handle_);
}

int64_t TMediaPlayer::Position() {
  CheckOpen();
  return platform::audio::Device().Position(handle_);
}

void TMediaPlayer::Loaded() {
  TCustomControl::Loaded();
  if (autoOpen_) Open();
}

void TMediaPlayer::Paint() {
  // The player's own buttons are not offered: a visible player shows a plain button face.
  Canvas()->Brush()->SetColor(clBtnFace);
  Canvas()->FillRect(ClientRect());
}

void TMediaPlayer::UtilityWndProc(TMessage& m) {
  if (m.Msg == WM_TIMER && m.WParam == kEndTimer) {
    KillTimer(window_, kEndTimer);
    if (playNotifies_ && handle_) {
      if (platform::audio::Device().Playing(handle_))
        WatchPlay();
      else
        EndPendingPlay(MCI_NOTIFY_SUCCESSFUL);
    }
    m.Result = 0;
    return;
  }
  if (m.Msg == MM_MCINOTIFY) {
    switch (m.WParam) {
      case MCI_NOTIFY_SUPERSEDED:
        notifyValue_ = nvSuperseded;
        break;
      case MCI_NOTIFY_ABORTED:
        notifyValue_ = nvAborted;
        break;
      case MCI_NOTIFY_FAILURE:
        notifyValue_ = nvFailure;
        break;
      default:
        notifyValue_ = nvSuccessful;
        break;
    }
    try {
      if (OnNotify) OnNotify(this);
    } catch (...) {
      ApplicationHandleException(this);
    }
    m.Result = 0;
    return;
  }
  m.Result = DefWindowProcA(window_, m.Msg, m.WParam, m.LParam);
}
