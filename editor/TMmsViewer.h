// TMmsViewer: the small window docked in the main window's panel that shows one slide of the
// message being edited (its picture, its text, its sound) and plays the slide show. The main
// window tells it which slide to show with WM_SHOWFRAME; while a show runs (Play disabled) those
// requests are ignored. Every display copies the slide's picture and sound into the Preview
// working folder under running numbers, so a sound still being played is never overwritten.
#pragma once

#include "platform/forms/TForm.h"
#include "platform/rtl/AnsiString.h"
#include "unicode/TUcMemo.h"

class TImButton;
class TImage;
class TK3VNMms;
class TMediaPlayer;
class TScrollBox;
class TShape;
class TTimer;

class TMmsViewer : public TForm {
 public:
  // ShowFrame's answer when there is no document.
  static constexpr int kNoDocument = -33;
  // The pause after the last slide of a show, before Play is enabled again.
  static constexpr unsigned kEndPauseMs = 1000;

  explicit TMmsViewer(TComponent* owner);
  ~TMmsViewer() override;

  TImButton* btnPlay = nullptr;
  TImButton* btnStop = nullptr;
  TScrollBox* ScrollBox1 = nullptr;
  TShape* Shape1 = nullptr;
  TImage* Image1 = nullptr;
  TMediaPlayer* AudioPlayer = nullptr;
  TTimer* Timer1 = nullptr;
  TShape* Shape2 = nullptr;
  TUcMemo* memo = nullptr;  // the slide's text, in any script

  TK3VNMms* mms = nullptr;      // the message shown, not owned
  AnsiString previewDir = ".";  // the folder the played media are copied into
  int pictureCounter = 0;       // names the copies of pictures; never reset
  int soundCounter = 0;         // names the copies of sounds; never reset

  // Readies the buttons and the timer; the window shows once it is docked.
  void FormCreate(TObject* sender);
  // Docks into `panel`, filling it, and shows: `message` from now on, its media copied into
  // `previewFolder` to be played.
  void Dock(TWinControl* panel, TK3VNMms* message, const AnsiString& previewFolder);
  // Starts the show from slide 0 (Play stays disabled until the show ends or Stop).
  void btnPlayClick(TObject* sender);
  // Ends the show, or its closing pause, at once and shows slide 0.
  void btnStopClick(TObject* sender);
  // Shows the slide at the play index and moves the index on.
  void Timer1Timer(TObject* sender);
  // Closes the player and stops any sound; closing is allowed.
  void FormCloseQuery(TObject* sender, bool& canClose);
  // Shows slide `index`: 1 shown (with its sound, or it has none), 0 no such slide, a picture
  // that did not load, no sound device of the kind needed or the player failed, -33 no document.
  int ShowFrame(int index);

  // Whether a show (or its closing pause) runs: Play is disabled then.
  bool Playing() const;
  // The pause after the last slide is under way.
  bool Pausing() const;

 protected:
  void Loaded() override;
  void Dispatch(void* message) override;

 private:
  // The interval of the slide at the play index (at least 1 ms, so a 0 ms slide passes).
  void SetIntervalFromPlayIndex();
  void StopSound();
  // After the closing pause: the show is over and Play enabled again.
  void EndShow(TObject* sender);
  // Copies `source` into the Preview folder as "<counter>.<extension>": the copy's path, or ""
  // when it could not be written.
  AnsiString CopyToPreview(const AnsiString& source, int counter) const;

  TTimer* pauseTimer_ = nullptr;
};

// The preview window, once start-up made it.
extern TMmsViewer* MmsViewer;

// Registers the preview window's class and handlers with the form library.
void RegisterMmsViewer();
