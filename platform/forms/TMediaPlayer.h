// TMediaPlayer: plays a sound file (WAV, MIDI, MP3) by name through the platform's sound
// output, which PlaySoundA shares. Open raises EMCIDeviceError when no device can open the
// file; Play is asynchronous unless Wait is set for it. A call with Notify (every call unless
// Notify was set false for it) reports its completion through OnNotify on the interface thread,
// with NotifyValue telling how it ended: a play that runs to its end is successful, one that
// Stop or Close interrupts is aborted, one that a new play replaces is superseded.
#pragma once

#include <cstdint>

#include "platform/forms/TCustomControl.h"

enum TMPDeviceTypes {
  dtAutoSelect,
  dtAVIVideo,
  dtCDAudio,
  dtDAT,
  dtDigitalVideo,
  dtMMMovie,
  dtOther,
  dtOverlay,
  dtScanner,
  dtSequencer,
  dtVCR,
  dtVideodisc,
  dtWaveAudio
};
enum TMPNotifyValues { nvSuccessful, nvSuperseded, nvAborted, nvFailure };
enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };

// The completion message of a notified call: wParam is one of the MCI_NOTIFY_ codes.
constexpr UINT MM_MCINOTIFY = 0x03B9;
constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 1, MCI_NOTIFY_SUPERSEDED = 2, MCI_NOTIFY_ABORTED = 4,
                 MCI_NOTIFY_FAILURE = 8;

class TMediaPlayer : public TCustomControl {
 public:
  explicit TMediaPlayer(TComponent* owner);
  ~TMediaPlayer() override;

  const AnsiString& FileName() const { return fileName_; }
  void SetFileName(const AnsiString& value) { fileName_ = value; }
  TMPDeviceTypes DeviceType() const { return deviceType_; }
  void SetDeviceType(TMPDeviceTypes value) { deviceType_ = value; }
  // Opens the file when the layout that holds the player has been read.
  bool AutoOpen() const { return autoOpen_; }
  void SetAutoOpen(bool value) { autoOpen_ = value; }
  // Each applies to the next call only: Notify false keeps that call from notifying, Wait true
  // makes a play return when the sound has ended.
  bool Notify() const { return notify_; }
  void SetNotify(bool value);
  bool Wait() const { return wait_; }
  void SetWait(bool value);
  TMPNotifyValues NotifyValue() const { return notifyValue_; }

  // The device's id while open, else 0.
  int DeviceID() const { return handle_; }
  TMPModes Mode();
  // Milliseconds; EMCIDeviceError when nothing is open.
  int64_t Length();
  int64_t Position();

  // Closes what is open first; EMCIDeviceError "Cannot open media file %s" when no device can
  // open FileName.
  void Open();
  void Play();
  void Stop();
  // Does nothing when nothing is open.
  void Close();

  void Loaded() override;
  TNotifyEvent OnNotify;

 protected:
  void Paint() override;

 private:
  // The flags of the call being made, taking the one-call settings back.
  bool TakeNotify();
  bool TakeWait(bool byDefault);
  void CheckOpen() const;
  // Stops and closes without a notification of its own (a pending play is still aborted).
  void CloseDevice();
  // The pending notification of a play ends with `code`.
  void EndPendingPlay(WPARAM code);
  void PostNotify(WPARAM code);
  void WatchPlay();
  // The utility window's messages (play-end timer, notifications); not the control's own path.
  void UtilityWndProc(TMessage& message);

  AnsiString fileName_;
  TMPDeviceTypes deviceType_ = dtAutoSelect;
  bool autoOpen_ = false;
  bool notify_ = false, useNotify_ = false;
  bool wait_ = false, useWait_ = false;
  TMPNotifyValues notifyValue_ = nvSuccessful;
  int handle_ = 0;             // the sound output's handle while open
  bool playNotifies_ = false;  // a play whose end is to be reported is under way
  HWND window_ = nullptr;      // receives the completion messages and the end-of-play timer
};
