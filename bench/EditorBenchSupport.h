// What the editor's benchmarks share: the editor started headless once per run in a temporary
// application folder, and a composed message of twenty pages whose media lie in its working
// folder, as after twenty insertions.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "editor/EditorStart.h"
#include "editor/TfrmMain.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "platform/forms/PlatformStartup.h"
#include "unicode/UcLayer.h"

namespace editorbench {

// The editor started once for the whole run.
inline TfrmMain* Editor() {
  static TfrmMain* main = [] {
    char appDir[] = "/tmp/bench-editor-app-XXXXXX", runtime[] = "/tmp/bench-editor-run-XXXXXX";
    static std::string folders[2] = {mkdtemp(appDir), mkdtemp(runtime)};
    setenv("MMSEDITOR_APP_DIR", folders[0].c_str(), 1);
    setenv("PLATFORM_RUNTIME_DIR", folders[1].c_str(), 1);
    std::atexit([] {
      for (const std::string& folder : folders) std::filesystem::remove_all(folder);
    });
    unicode::RegisterLayer();
    platform::Startup();
    EditorStart({});
    return frmMain;
  }();
  return main;
}

constexpr int kPages = 20;
constexpr std::size_t kPictureBytes = 11000;
constexpr std::size_t kSoundBytes = 3000;

// Bytes that neither compress nor look like anything in particular.
inline std::string Noise(std::size_t count, unsigned seed) {
  std::string bytes(count, '\0');
  for (char& c : bytes) {
    seed = seed * 1103515245u + 12345u;
    c = char(seed >> 16);
  }
  return bytes;
}

// The media files of one page: picture, sound and text (FF FE and UTF-16LE, as the text editor
// saves them).
struct PageFiles {
  std::string picture, sound, text;
};

// Gives the editor a new document of twenty pages, each with a picture of about 11 KB, a sound
// of 3 KB and a line of text, written into its working folder; about 290 KB encoded.
inline std::vector<PageFiles> ComposeTwentyPages(TfrmMain* main) {
  main->Init();
  std::vector<PageFiles> pages;
  const std::u16string line = u"A line of text on this slide, typed in the text editor.";
  std::string text = "\xFF\xFE";
  for (char16_t unit : line) text += {char(unit & 0xFF), char(unit >> 8)};
  for (int i = 0; i < kPages; ++i) {
    if (i > 0) main->NewFrame();
    PageFiles files{std::string(main->Document().imageDir.c_str()) + "/picture" + std::to_string(i) + ".jpg",
                    std::string(main->Document().audioDir.c_str()) + "/sound" + std::to_string(i) + ".wav",
                    std::string(main->Document().txtDir.c_str()) + "/txt" + std::to_string(i) + ".txt"};
    std::ofstream(files.picture, std::ios::binary) << Noise(kPictureBytes, 2 * i + 1);
    std::ofstream(files.sound, std::ios::binary) << Noise(kSoundBytes, 2 * i + 2);
    std::ofstream(files.text, std::ios::binary) << text;
    main->Mms()->SetFrameItemFromFile(i, TMediaItem::kImage, files.picture);
    main->Mms()->SetFrameItemFromFile(i, TMediaItem::kAudio, files.sound);
    main->Mms()->SetFrameItemFromFile(i, TMediaItem::kText, files.text);
    pages.push_back(files);
  }
  main->Document().SetCurrentPage(0);
  return pages;
}

}  // namespace editorbench
