// Measuring the message, the work the editor does after every insertion: GetPduSize on twenty
// pages of about 290 KB whose media lie in the working folder, against the codec alone reading
// the same files and composing and encoding them.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/ComposerBlocks.h"
#include "bench/EditorBenchSupport.h"
#include "mms/MmsComposer.h"
#include "mms/MmsEncoder.h"
#include "platform/forms/TLabel.h"

namespace {

using editorbench::PageFiles;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

using benchblocks::Copy;
using benchblocks::CopyText;

// The codec alone: each page's files read and handed over as the editor's build does.
int CodecAlone(const std::vector<PageFiles>& pages) {
  MmsComposerReset();
  MmsComposerCreate();
  for (std::size_t i = 1; i < pages.size(); ++i) MmsComposerAddSlide();
  for (unsigned i = 0; i < pages.size(); ++i) {
    MmsComposerSelectSlide(i);
    MmsComposerSetSlideDur(i, 1000);
    const std::string text = ReadAll(pages[i].text);
    const std::size_t units = text.size() / 2;
    std::u16string wideText(units, u'\0');
    std::memcpy(wideText.data(), text.data(), units * 2);
    char16_t* wide = Copy(wideText.c_str(), units + 1);
    tMMS_TextInfo textInfo{wide, 0, 1000, int(units), 0, 123, 120, 14};
    MmsComposerSetText(&textInfo);
    const std::string picture = ReadAll(pages[i].picture);
    tMMS_ImageInfo image{Copy(reinterpret_cast<const unsigned char*>(picture.data()), picture.size()),
                         CopyText("image/jpeg"),
                         0,
                         1000,
                         int(picture.size()),
                         4,
                         0,
                         120,
                         120};
    MmsComposerSetImage(&image);
    const std::string sound = ReadAll(pages[i].sound);
    tMMS_AudioInfo audio{Copy(reinterpret_cast<const unsigned char*>(sound.data()), sound.size()),
                         CopyText("audio/wav"), 0, 1000, int(sound.size())};
    MmsComposerSetAudio(&audio);
  }
  int len = 0;
  std::free(MmsEncodeMessage(&len));
  MmsComposerReset();
  return len;
}

void BM_CodecAloneFromFiles(benchmark::State& state) {
  const std::vector<PageFiles> pages = editorbench::ComposeTwentyPages(editorbench::Editor());
  int size = 0;
  for (auto _ : state) benchmark::DoNotOptimize(size = CodecAlone(pages));
  state.counters["message_bytes"] = size;
}
BENCHMARK(BM_CodecAloneFromFiles)->Unit(benchmark::kMicrosecond);

void BM_EditorGetPduSize(benchmark::State& state) {
  TfrmMain* main = editorbench::Editor();
  editorbench::ComposeTwentyPages(main);
  for (auto _ : state) main->GetPduSize();
  state.counters["label_kb"] = std::atoi(main->Controls().Label_Size->Caption().c_str());
}
BENCHMARK(BM_EditorGetPduSize)->Unit(benchmark::kMicrosecond);

}  // namespace
