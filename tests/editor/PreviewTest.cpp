// The preview window: docked in the main window's panel, the slide show at each slide's duration
// with its closing pause (the window kept serving), slides shown on request only outside a show,
// the layout of picture and text, ShowFrame's answers by sound devices and sound files, the
// numbered copies in the Preview folder, and what the user sees
// (screenshots/editor/preview-picture.png, preview-text.png, preview-playing.png).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "controls/TImButton.h"
#include "editor/TMmsViewer.h"
#include "editor/TfrmMain.h"
#include "mms/MmsDecoder.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TMediaPlayer.h"
#include "platform/forms/TPanel.h"
#include "platform/forms/TTimer.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "support/SharedData.h"
#include "tests/editor/CommandFixture.h"

namespace {

using editortest::CommandTest;
using editortest::ReadAll;
using editortest::Utf16Le;
using platform::headless::Driver;
namespace fs = std::filesystem;

constexpr int kText = TMediaItem::kText, kImage = TMediaItem::kImage, kAudio = TMediaItem::kAudio;

// A short PCM WAV: 8 kHz, mono, 8 bits, `samples` samples of silence.
std::string Wav(int samples = 800) {
  auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto le16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
  std::string fmt = le16(1) + le16(1) + le32(8000) + le32(8000) + le16(1) + le16(8);
  std::string data(static_cast<size_t>(samples), '\x80');
  std::string body = "WAVE" + std::string("fmt ") + le32(16) + fmt + "data" + le32(uint32_t(samples)) + data;
  return "RIFF" + le32(uint32_t(body.size())) + body;
}

// A one-track MIDI file holding only the end of its track.
std::string Midi() {
  const std::string header("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14);
  const std::string track("MTrk\0\0\0\x04\0\xFF\x2F\0", 12);
  return header + track;
}

class Preview : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    viewer = MmsViewer;
    ASSERT_NE(viewer, nullptr);
    Driver().SetSoundDevices(1, 1);
  }
  void TearDown() override {
    Driver().SetSoundDevices(1, 1);
    CommandTest::TearDown();
  }
  void Advance(int ms) {
    Driver().Advance(ms);
    Driver().RunUntilIdle();
  }
  // Page `index` with its duration and a text "slide <index>".
  void TextPage(int index, int ms) {
    Pages(index + 1);
    main->Mms()->Body->GetFrame(index)->Dur = ms;
    const std::string text = Utf16Le(u"slide " + std::u16string(1, char16_t(u'0' + index)));
    Put(index, kText, "t" + std::to_string(index) + ".txt", &text);
  }
  std::string Memo() const { return platform::Utf16ToUtf8(viewer->memo->Text().ToU16()); }
  std::string PreviewFile(const std::string& name) const { return app.path() + "/tmp/Preview/" + name; }
  std::string Jpeg() const { return ReadAll(testsupport::SharedPath("testdata/pillow/jpeg/hopper.jpg")); }
  // The sound events since `from` that played a file.
  std::vector<platform::audio::SoundEvent> PlaysSince(size_t from) const {
    std::vector<platform::audio::SoundEvent> plays;
    const auto& all = Driver().Sounds();
    for (size_t i = from; i < all.size(); ++i)
      if (all[i].what == platform::audio::SoundEvent::What::Play) plays.push_back(all[i]);
    return plays;
  }

  TMmsViewer* viewer = nullptr;
};

TEST_F(Preview, IsDockedInTheMainWindowsPanelAndSharesItsDocument) {
  EXPECT_EQ(viewer->Caption().ToStd(), "MmsViewer");
  EXPECT_EQ(viewer->Parent(), main->Controls().pnl1);
  EXPECT_EQ(viewer->Left(), 0);
  EXPECT_EQ(viewer->Top(), 0);
  EXPECT_EQ(viewer->Width(), main->Controls().pnl1->Width());
  EXPECT_EQ(viewer->Height(), main->Controls().pnl1->Height());
  EXPECT_TRUE(viewer->Visible());
  EXPECT_EQ(viewer->mms, main->Mms());
  EXPECT_EQ(viewer->previewDir.ToStd(), main->Document().previewDir.ToStd());
  EXPECT_TRUE(viewer->btnPlay->Enabled());
  EXPECT_FALSE(viewer->Timer1->Enabled());
  EXPECT_EQ(viewer->btnPlay->Hint().ToStd(), "<STR_Play>");
  EXPECT_EQ(viewer->btnStop->Hint().ToStd(), "<STR_Stop>");
  // A new document reaches the preview.
  main->Init();
  EXPECT_EQ(viewer->mms, main->Mms());
  // So does an opened one, which takes the place of the document given up.
  Pages(2);
  const std::string path = app.path() + "/two.mms";
  ASSERT_EQ(main->SaveMmsFile(path.c_str()), 1);
  main->OpenMmsFile(path.c_str());
  ASSERT_EQ(main->Mms()->Body->GetFrameCount(), 2);
  EXPECT_EQ(viewer->mms, main->Mms());
  // A reload of the language leaves the preview's hints alone.
  AppFile("language_editer/lan_ENG.ini", editortest::KeyLanguageFile("new:"));
  main->ReloadLanguage();
  EXPECT_EQ(main->Controls().subject->TControl::Caption().ToStd(), "new:<STR_Main_Subject>");
  EXPECT_EQ(viewer->btnPlay->Hint().ToStd(), "<STR_Play>");
}

TEST_F(Preview, TheShowKeepsEachSlideForItsDurationThenPausesWithoutBlocking) {
  TextPage(0, 2000);
  TextPage(1, 5000);
  TextPage(2, 1000);
  const std::string wav = Wav(8000 * 10);  // ten seconds: still playing when the show ends
  Put(1, kAudio, "one.wav", &wav);
  Put(2, kAudio, "two.wav", &wav);
  const size_t sounds = Driver().Sounds().size();
  viewer->btnPlay->Click();
  EXPECT_TRUE(viewer->Playing());
  EXPECT_TRUE(main->SlideShowPlaying());
  EXPECT_EQ(Memo(), "slide 0");
  Advance(1999);
  EXPECT_EQ(Memo(), "slide 0");
  Advance(1);
  EXPECT_EQ(Memo(), "slide 1");
  Advance(4999);
  EXPECT_EQ(Memo(), "slide 1");
  Advance(1);
  EXPECT_EQ(Memo(), "slide 2");
  Advance(1000);
  EXPECT_TRUE(viewer->Pausing());
  // The pause leaves the window serving: requests are handled (and ignored), nothing blocks.
  PostMessageA(viewer->Handle(), WM_SHOWFRAME, 0, 0);
  Advance(999);
  EXPECT_TRUE(viewer->Playing());
  EXPECT_EQ(Memo(), "slide 2");
  EXPECT_NE(viewer->AudioPlayer->DeviceID(), 0);
  Advance(1);
  EXPECT_FALSE(viewer->Playing());
  EXPECT_FALSE(viewer->Timer1->Enabled());
  EXPECT_FALSE(viewer->Pausing());
  EXPECT_EQ(Memo(), "slide 2");
  EXPECT_FALSE(main->SlideShowPlaying());
  // Each slide's sound played in its turn, from its numbered copy.
  const auto plays = PlaysSince(sounds);
  ASSERT_EQ(plays.size(), 2u);
  EXPECT_EQ(fs::path(plays[0].path).filename(), "0.wav");
  EXPECT_EQ(fs::path(plays[1].path).filename(), "1.wav");
  // ... and the end of the pause stopped the last one.
  EXPECT_EQ(viewer->AudioPlayer->DeviceID(), 0);
  EXPECT_EQ(Driver().Sounds().back().what, platform::audio::SoundEvent::What::Stop);
}

TEST_F(Preview, AZeroMillisecondSlideIsPassedAndTheShowEnds) {
  TextPage(0, 1000);
  TextPage(1, 0);
  TextPage(2, 1000);
  viewer->btnPlay->Click();
  Advance(1000);
  EXPECT_EQ(Memo(), "slide 1");
  // The shortest timer period passes the 0 ms slide.
  Advance(10);
  EXPECT_EQ(Memo(), "slide 2");
  EXPECT_EQ(main->Mms()->Body->GetFrameDur(1), 0);  // the stored duration is untouched
  Advance(1000);
  Advance(1000);
  EXPECT_FALSE(viewer->Playing());
}

TEST_F(Preview, RequestsDuringAShowChangeNothingAndStopReturnsToSlideZero) {
  TextPage(0, 1000);
  TextPage(1, 1000);
  TextPage(2, 1000);
  viewer->btnPlay->Click();
  PostMessageA(viewer->Handle(), WM_SHOWFRAME, 0, 2);
  Driver().RunUntilIdle();
  EXPECT_EQ(Memo(), "slide 0");
  Advance(1000);
  EXPECT_EQ(Memo(), "slide 1");
  viewer->btnStop->Click();
  EXPECT_FALSE(viewer->Playing());
  EXPECT_FALSE(viewer->Timer1->Enabled());
  EXPECT_EQ(Memo(), "slide 0");
  // Outside a show a request shows its slide.
  PostMessageA(viewer->Handle(), WM_SHOWFRAME, 0, 2);
  Driver().RunUntilIdle();
  EXPECT_EQ(Memo(), "slide 2");
  // Stop during the closing pause ends it at once.
  viewer->btnPlay->Click();
  Advance(3000);
  ASSERT_TRUE(viewer->Pausing());
  viewer->btnStop->Click();
  EXPECT_FALSE(viewer->Pausing());
  EXPECT_FALSE(viewer->Playing());
  EXPECT_EQ(Memo(), "slide 0");
  Advance(1000);
  EXPECT_FALSE(viewer->Playing());

  // A document without slides: Play stays disabled until Stop.
  TK3VNMms empty;
  TK3VNMms* own = viewer->mms;
  viewer->mms = &empty;
  viewer->btnPlay->Click();
  EXPECT_TRUE(viewer->Playing());
  Advance(5000);
  EXPECT_TRUE(viewer->Playing());
  viewer->btnStop->Click();
  EXPECT_FALSE(viewer->Playing());
  viewer->mms = own;
}

TEST_F(Preview, NothingIsDeletedWhileAShowPlays) {
  TextPage(0, 1000);
  TextPage(1, 1000);
  main->Document().SetCurrentPage(1);
  main->SetSelection(StripSelection::kPage);
  viewer->btnPlay->Click();
  EXPECT_EQ(main->DeleteSelection(1), 0);
  EXPECT_EQ(main->Mms()->Body->GetFrameCount(), 2);
  EXPECT_TRUE(shown.empty());
  // Inserting stays possible during a show.
  EXPECT_EQ(main->NewFrame(), 0);
  EXPECT_EQ(main->Mms()->Body->GetFrameCount(), 3);
  viewer->btnStop->Click();
  main->Document().SetCurrentPage(1);
  main->SetSelection(StripSelection::kPage);
  EXPECT_EQ(main->DeleteSelection(1), 0);
  EXPECT_EQ(main->Mms()->Body->GetFrameCount(), 2);
  EXPECT_EQ(shown.size(), 1u);
}

TEST_F(Preview, PictureAndTextShareTheAreaAndABrokenPictureShowsTheTextAlone) {
  Pages(4);
  const std::string jpeg = Jpeg(), text = Utf16Le(u"words"), notJpeg = "this is no picture";
  const std::string wav = Wav();
  Put(0, kImage, "a.jpg", &jpeg);
  Put(0, kText, "a.txt", &text);
  Put(1, kText, "b.txt", &text);
  Put(2, kImage, "c.jpg", &jpeg);
  Put(3, kImage, "broken.jpg", &notJpeg);
  Put(3, kText, "d.txt", &text);
  Put(3, kAudio, "d.wav", &wav);
  main->Mms()->Body->GetFrame(3)->Dur = 3000;
  Pages(5);
  const std::string bmp = ReadAll(testsupport::SharedPath("testdata/pillow/bmp/g_rgb24.bmp"));
  Put(4, kImage, "e.bmp", &bmp);
  const struct {
    int page;
    bool picture;
    int memoTop, memoHeight;
    bool memoVisible;
    int result;
  } cases[] = {
      {0, true, 75, 93, true, 1},  {1, false, 3, 165, true, 1},
      {2, true, 75, 93, true, 1},  // no text: the memo's visibility stays as it was
      {3, false, 3, 165, true, 0}, {4, true, 75, 93, true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    const size_t sounds = Driver().Sounds().size();
    EXPECT_EQ(viewer->ShowFrame(c.page), c.result);
    EXPECT_EQ(viewer->Image1->Visible(), c.picture);
    EXPECT_EQ(viewer->Image1->Picture()->Graphic() != nullptr, c.picture);
    EXPECT_EQ(viewer->memo->Top(), c.memoTop);
    EXPECT_EQ(viewer->memo->Height(), c.memoHeight);
    EXPECT_EQ(viewer->memo->Visible(), c.memoVisible);
    if (c.page == 3) {
      // The broken picture's slide still shows its own text and starts its own sound.
      EXPECT_EQ(Memo(), "words");
      EXPECT_EQ(PlaysSince(sounds).size(), 1u);
    }
  }
  // A slide without a picture or text keeps the memo hidden when it was.
  viewer->memo->SetVisible(false);
  Pages(6);
  EXPECT_EQ(viewer->ShowFrame(5), 1);
  EXPECT_FALSE(viewer->memo->Visible());
}

TEST_F(Preview, TheAnswersFollowTheSoundAndTheDevicesOfItsKind) {
  Pages(3);
  const std::string wav = Wav(), midi = Midi();
  Put(1, kAudio, "s.wav", &wav);
  Put(2, kAudio, "m.mid", &midi);
  const struct {
    int wave, midi, page, result;
    size_t plays;
  } cases[] = {
      {1, 1, 0, 1, 0},  // no sound
      {1, 1, 1, 1, 1}, {1, 1, 2, 1, 1}, {1, 0, 1, 1, 1},
      {1, 0, 2, 0, 0},  // no MIDI output: the MIDI is skipped, the WAV still plays
      {0, 1, 1, 0, 0}, {0, 1, 2, 1, 1}, {1, 1, 7, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.wave) + "/" + std::to_string(c.midi) + " page " + std::to_string(c.page));
    Driver().SetSoundDevices(c.wave, c.midi);
    const size_t sounds = Driver().Sounds().size();
    const int copies = viewer->soundCounter;
    EXPECT_EQ(viewer->ShowFrame(c.page), c.result);
    EXPECT_EQ(PlaysSince(sounds).size(), c.plays);
    if (c.plays == 0) {
      EXPECT_EQ(viewer->soundCounter, copies);  // nothing copied
    }
  }
  TK3VNMms* own = viewer->mms;
  viewer->mms = nullptr;
  EXPECT_EQ(viewer->ShowFrame(0), TMmsViewer::kNoDocument);
  viewer->mms = own;
}

// The MIDI part of a message a phone made.
std::string PhoneMidi() {
  const std::string file = ReadAll(testsupport::SharedPath("testdata/mms/SonyEricssonT310-R201.mms"));
  std::string midi;
  tMMS_RetrieveConf* record =
      MmsDecodeHeaders(reinterpret_cast<const uint8_t*>(file.data()), int(file.size()));
  if (!record) return midi;
  if (tMMS_Body* body = MmsDecodeMultipart(record->Body.data(), int(record->Body.size()))) {
    for (tMMS_Part* p = body->Parts; p; p = p->Next)
      if (p->ContentType && std::string(p->ContentType) == "audio/midi")
        midi.assign(reinterpret_cast<char*>(p->Data), size_t(p->Len));
    MmsFreeDecodedBody(body);
  }
  MmsPduFree(record, MMS_PDU_RETRIEVE_CONF);
  return midi;
}

TEST_F(Preview, APhonesMidiNeedsAMidiOutput) {
  const std::string midi = PhoneMidi();
  ASSERT_EQ(midi.size(), 5726u);
  Pages(1);
  Put(0, kAudio, "OldhPhone.mid", &midi);
  for (const auto& [midiDevices, result] : {std::pair{0, 0}, std::pair{1, 1}}) {
    Driver().SetSoundDevices(0, midiDevices);
    const size_t sounds = Driver().Sounds().size();
    EXPECT_EQ(viewer->ShowFrame(0), result) << midiDevices;
    EXPECT_EQ(PlaysSince(sounds).size(), size_t(result)) << midiDevices;
  }
}

TEST_F(Preview, AnMp3NeedsAWaveOutput) {
  // The MP3 is made from a WAV with the encoder of the test tools.
  const std::string wavPath = app.write("tone.wav", Wav(16000)), mp3Path = app.file("tone.mp3");
  const std::string command = "lame --quiet '" + wavPath + "' '" + mp3Path + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0 || !fs::exists(mp3Path))
    GTEST_SKIP() << "no MP3 encoder (tools/setup)";
  Pages(1);
  const std::string mp3 = ReadAll(mp3Path);
  Put(0, kAudio, "tone.mp3", &mp3);
  for (const auto& [wave, result] : {std::pair{0, 0}, std::pair{1, 1}}) {
    Driver().SetSoundDevices(wave, 0);
    const size_t sounds = Driver().Sounds().size();
    EXPECT_EQ(viewer->ShowFrame(0), result) << wave;
    EXPECT_EQ(PlaysSince(sounds).size(), size_t(result)) << wave;
  }
}

TEST_F(Preview, EveryDisplayWritesANumberedCopyNamedByTheFilesOwnExtension) {
  Pages(3);
  const std::string jpeg = Jpeg(), junk = "RIFF but nothing after it";
  Put(0, kImage, "photo.JPG", &jpeg);
  EXPECT_EQ(viewer->ShowFrame(0), 1);
  EXPECT_EQ(viewer->ShowFrame(0), 1);
  EXPECT_EQ(ReadAll(PreviewFile("0.JPG")), jpeg);
  EXPECT_EQ(ReadAll(PreviewFile("1.JPG")), jpeg);

  // A sound the player cannot open falls back to playing by file name (which the recording
  // device refuses as well for these bytes); its copy keeps its number.
  Put(1, kAudio, "bad.wav", &junk);
  const size_t sounds = Driver().Sounds().size();
  EXPECT_EQ(viewer->ShowFrame(1), 0);
  EXPECT_TRUE(PlaysSince(sounds).empty());
  EXPECT_EQ(viewer->soundCounter, 1);
  const std::string wav = Wav();
  Put(2, kAudio, "good.wav", &wav);
  EXPECT_EQ(viewer->ShowFrame(2), 1);
  EXPECT_EQ(ReadAll(PreviewFile("0.wav")), junk);  // not overwritten by the next sound
  EXPECT_EQ(ReadAll(PreviewFile("1.wav")), wav);

  // A point in a folder's name is no extension: the copy's name holds no separator.
  const std::string folder = app.path() + "/x.d";
  fs::create_directories(folder);
  std::ofstream(folder + "/picture", std::ios::binary) << jpeg;
  main->Mms()->SetFrameItemFromFile(0, kImage, folder + "/picture");
  viewer->ShowFrame(0);
  EXPECT_TRUE(fs::is_regular_file(PreviewFile("2")));
  for (const auto& entry : fs::directory_iterator(app.path() + "/tmp/Preview"))
    EXPECT_TRUE(entry.is_regular_file()) << entry.path();
}

TEST_F(Preview, WhatTheUserSees) {
  fs::create_directories(MMS_SCREENSHOT_DIR);
  // The product's English texts around the preview.
  const std::string beside = std::string(ExtractFileDir(ParamStr(0)).c_str()) + "/language_editer/";
  fs::copy_file(beside + "lan_ENG.ini", app.file("language_editer/lan_ENG.ini"),
                fs::copy_options::overwrite_existing);
  main->ApplyLanguage(1);
  Pages(2);
  const std::string jpeg = Jpeg(), text = Utf16Le(u"Hello from the first slide"),
                    more = Utf16Le(u"Only words on this slide, enough of them to wrap in the memo.");
  Put(0, kImage, "p.jpg", &jpeg);
  Put(0, kText, "p.txt", &text);
  Put(1, kText, "q.txt", &more);
  viewer->ShowFrame(0);
  Driver().RunUntilIdle();
  EXPECT_TRUE(Driver().SavePng(main->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/preview-picture.png"));
  viewer->ShowFrame(1);
  Driver().RunUntilIdle();
  EXPECT_TRUE(Driver().SavePng(main->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/preview-text.png"));
  viewer->btnPlay->Click();
  Driver().RunUntilIdle();
  EXPECT_TRUE(Driver().SavePng(main->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/preview-playing.png"));
  viewer->btnStop->Click();
}

}  // namespace
