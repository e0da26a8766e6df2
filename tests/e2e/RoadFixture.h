// The editor driven as a person drives it: a fresh editor in the test process on the headless
// backend, its own application folder (English texts that show their keys, a known subject in
// the settings, the strip's skin and the help pages) and runtime folder; input only through the
// driver, modal windows answered by the road, and captures of what the person sees.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/TfrmMain.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/win/Backend.h"
#include "tests/editor/EditorFixture.h"

class TControl;

namespace e2e {

using platform::win::ModalAnswer;
using platform::win::ModalInfo;

// The subject the road's settings give.
inline constexpr char16_t kSettingsTitle[] = u"Road title";

class Road : public editortest::EditorTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Starts the editor with the road's arguments and shows its window.
  void StartEditor(const std::vector<std::string>& args = {});

  // Runs what is pending through the program's own loop (where chords meet the shortcuts).
  void Pump();
  // Whether the editor asked to end (the request is taken from the queue).
  bool QuitRequested();
  void Chord(const std::string& chord);
  void Type(const std::u16string& text);
  // A point of the strip in its control coordinates at scroll position 0, on the screen as the
  // strip is scrolled now.
  POINT StripPoint(int x, int y) const;
  POINT Centre(TControl* control) const;
  void Click(POINT screen);
  void DoubleClick(POINT screen);
  // Replaces an edit's text as a person would: click into it, select everything, type.
  void Retype(TControl* edit, const std::u16string& text);

  // Every modal window is recorded and answered by `answer` (by default: OK on boxes and forms,
  // Cancel on dialogs and menus).
  std::function<ModalAnswer(const ModalInfo&)> answer;
  std::vector<ModalInfo> modals;
  // Whether a recorded window carried this text (caption, title, filter or one of its texts).
  bool Saw(const std::u16string& text) const;
  // Answers the text editor window by typing `text` and clicking OK (or Cancel).
  void WriteText(const std::u16string& text, bool ok = true);
  // Answers the next open or save dialog with `file`; other windows as by default.
  void ChooseFile(const std::string& file);

  // Saves a capture of the main window (or another window) as screenshots/editor/<name>.
  void Shot(const std::string& name, HWND window = nullptr);
  platform::headless::CaptureImage Capture() const;

  // Files for the roads: a shared test file copied under a name of the road's choosing, a PCM
  // WAV written here, and a noise JPEG over 300 KB.
  std::string Shared(const std::string& relative, const std::string& name);
  std::string Wav(const std::string& name);
  std::string NoiseJpeg(const std::string& name);
  std::string Tmp(const std::string& relative) const { return app.path() + "/tmp/" + relative; }

  int Pages() const;
  std::string LabelText(TControl* label) const;

  TfrmMain* main = nullptr;
};

std::string ReadFile(const std::string& path);

}  // namespace e2e
