// Composing and encoding a 20-slide message of about 290 KB (picture, sound and text on each
// slide), the work the editor repeats after every insertion to show the message size, beside a
// plain memcpy of the same number of bytes as the floor.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/ComposerBlocks.h"
#include "mms/MmsComposer.h"
#include "mms/MmsEncoder.h"

namespace {

constexpr int kSlides = 20;
constexpr std::size_t kPictureBytes = 11000;
constexpr std::size_t kSoundBytes = 3000;

struct Media {
  std::vector<unsigned char> picture = std::vector<unsigned char>(kPictureBytes, 0x5A);
  std::vector<unsigned char> sound = std::vector<unsigned char>(kSoundBytes, 0xA5);
  std::u16string text = u"\uFEFFA line of text on this slide, typed in the text editor.\r\n";
};

using benchblocks::Copy;
using benchblocks::CopyText;

// The editor's calls for one build: reset, create, slides, then each slide's items.
void Compose(const Media& media) {
  MmsComposerReset();
  MmsComposerCreate();
  for (int i = 1; i < kSlides; ++i) MmsComposerAddSlide();
  for (unsigned i = 0; i < kSlides; ++i) {
    MmsComposerSelectSlide(i);
    MmsComposerSetSlideDur(i, 5000);
    tMMS_TextInfo text{Copy(media.text.c_str(), media.text.size() + 1),
                       0,
                       5000,
                       static_cast<int>(media.text.size()),
                       0,
                       170,
                       160,
                       30};
    MmsComposerSetText(&text);
    tMMS_ImageInfo image{Copy(media.picture.data(), media.picture.size()),
                         CopyText("image/jpeg"),
                         0,
                         5000,
                         static_cast<int>(media.picture.size()),
                         0,
                         0,
                         160,
                         170};
    MmsComposerSetImage(&image);
    tMMS_AudioInfo audio{Copy(media.sound.data(), media.sound.size()), CopyText("audio/wav"), 0, 5000,
                         static_cast<int>(media.sound.size())};
    MmsComposerSetAudio(&audio);
  }
}

int EncodedSize(const Media& media) {
  Compose(media);
  int len = 0;
  std::free(MmsEncodeMessage(&len));
  MmsComposerReset();
  return len;
}

void BM_ComposeAndEncode(benchmark::State& state) {
  Media media;
  const int size = EncodedSize(media);
  for (auto _ : state) {
    Compose(media);
    int len = 0;
    unsigned char* bytes = MmsEncodeMessage(&len);
    benchmark::DoNotOptimize(bytes);
    std::free(bytes);
  }
  MmsComposerReset();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size);
  state.counters["message_bytes"] = size;
}
BENCHMARK(BM_ComposeAndEncode);

void BM_EncodeOnly(benchmark::State& state) {
  Media media;
  Compose(media);
  int size = 0;
  std::free(MmsEncodeMessage(&size));
  for (auto _ : state) {
    int len = 0;
    unsigned char* bytes = MmsEncodeMessage(&len);
    benchmark::DoNotOptimize(bytes);
    std::free(bytes);
  }
  MmsComposerReset();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size);
}
BENCHMARK(BM_EncodeOnly);

// The floor: copying the message's bytes once into a new block.
void BM_MemcpyPeer(benchmark::State& state) {
  Media media;
  const std::size_t size = static_cast<std::size_t>(EncodedSize(media));
  std::vector<unsigned char> source(size, 0x42);
  for (auto _ : state) {
    unsigned char* block = static_cast<unsigned char*>(std::malloc(size));
    std::memcpy(block, source.data(), size);
    benchmark::DoNotOptimize(block);
    std::free(block);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK(BM_MemcpyPeer);

}  // namespace
