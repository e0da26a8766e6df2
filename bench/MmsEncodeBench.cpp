// Composing and encoding a 20-slide message of about 290 KB (picture, sound and text on each
// slide), the work the editor repeats after every insertion to show the message size, beside a
// plain memcpy of the same number of bytes as the floor.
//
// BM_ComposeAndEncode times what the user waits on once the files are in memory: resetting the
// composer, adding the slides, sharing each slide's picture and sound with it (as the editor
// shares the bytes it read from the files: no copy), handing over each slide's text in a malloc
// block (as the editor does with the text it reads), building the body and encoding the message
// into a new block, and freeing that block. Reading the files is not timed. BM_EncodeOnly times
// the body and the encoding alone, from a composer filled once.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/ComposerBlocks.h"
#include "mms/MmsComposer.h"
#include "mms/MmsEncoder.h"

namespace {

constexpr int kSlides = 20;
constexpr std::size_t kPictureBytes = 11000;
constexpr std::size_t kSoundBytes = 3000;

// Each slide's files as the editor holds them once read: every slide shares its own picture and
// sound, so the encoder reads from as many separate buffers as in a real message.
struct Media {
  Media() {
    for (int i = 0; i < kSlides; ++i) {
      pictures.push_back(std::make_shared<const tMMS_Media>(
          tMMS_Media{std::string(kPictureBytes, static_cast<char>(0x5A + i)), "image/jpeg"}));
      sounds.push_back(std::make_shared<const tMMS_Media>(
          tMMS_Media{std::string(kSoundBytes, static_cast<char>(0xA5 + i)), "audio/wav"}));
    }
  }
  std::vector<MmsMediaRef> pictures;
  std::vector<MmsMediaRef> sounds;
  std::u16string text = u"\uFEFFA line of text on this slide, typed in the text editor.\r\n";
};

using benchblocks::Copy;

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
    tMMS_ImageInfo image{nullptr, nullptr, 0, 5000, 0, 0, 0, 160, 170};
    MmsComposerShareImage(&image, media.pictures[i]);
    tMMS_AudioInfo audio{nullptr, nullptr, 0, 5000, 0};
    MmsComposerShareAudio(&audio, media.sounds[i]);
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
