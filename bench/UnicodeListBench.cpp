// A 4 MB UTF-16LE text file of 100,000 Vietnamese and Khmer lines loaded, saved and sorted by
// the wide string list, and in the same run by a peer: iconv into a std::u16string split at
// CR LF into a std::vector, written back through iconv, sorted by std::sort with the list's
// own comparison.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/rtl/CharCase.h"
#include "platform/rtl/Utf8.h"
#include "unicode/TUcStringList.h"

namespace {

constexpr int kLines = 100000;

const std::string& FilePath() {
  static const std::string path = [] {
    std::string name = std::string(P_tmpdir) + "/bench_unicode_lists.txt";
    std::u16string text = u"\uFEFF";
    const char16_t* pieces[] = {
        u"Ti\u1EBFng Vi\u1EC7t c\u00F3 d\u1EA5u ",
        u"\u1797\u17B6\u179F\u17B6\u1781\u17D2\u1798\u17C2\u179A \u179B\u17C1\u1781 "};
    for (int i = 0; i < kLines; ++i) {
      std::string number = std::to_string((i * 7919) % kLines);
      text += pieces[i % 2];
      text += std::u16string(number.begin(), number.end());
      text += u"\r\n";
    }
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
    return name;
  }();
  return path;
}

std::string ReadAll() {
  std::ifstream in(FilePath(), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The peer: the file's bytes through iconv into UTF-16, split at CR LF.
std::vector<std::u16string> PeerLoad() {
  std::string bytes = ReadAll();
  iconv_t cd = iconv_open("UTF-16LE", "UTF-16");
  std::u16string text(bytes.size() / 2 + 1, u'\0');
  char* in = bytes.data();
  std::size_t inLeft = bytes.size();
  char* out = reinterpret_cast<char*>(text.data());
  std::size_t outLeft = text.size() * 2;
  iconv(cd, &in, &inLeft, &out, &outLeft);
  iconv_close(cd);
  text.resize(text.size() - outLeft / 2);
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t at = text.find(u"\r\n"); at != std::u16string::npos; at = text.find(u"\r\n", start)) {
    lines.emplace_back(text, start, at - start);
    start = at + 2;
  }
  return lines;
}

int Compare(const std::u16string& a, const std::u16string& b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

void ListLoad(benchmark::State& state) {
  WideString name(platform::Utf8ToUtf16(FilePath()));
  for (auto _ : state) {
    TUcStringList list;
    list.LoadFromFile(name);
    benchmark::DoNotOptimize(list.Count());
  }
}

void PeerLoadLines(benchmark::State& state) {
  FilePath();
  for (auto _ : state) benchmark::DoNotOptimize(PeerLoad().size());
}

void ListSave(benchmark::State& state) {
  TUcStringList list;
  list.LoadFromFile(WideString(platform::Utf8ToUtf16(FilePath())));
  WideString out(platform::Utf8ToUtf16(FilePath() + ".out"));
  for (auto _ : state) list.SaveToFile(out);
}

void PeerSave(benchmark::State& state) {
  std::vector<std::u16string> lines = PeerLoad();
  for (auto _ : state) {
    std::u16string text = u"\uFEFF";
    for (const auto& line : lines) text += line + u"\r\n";
    std::ofstream out(FilePath() + ".peer", std::ios::binary);
    out.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
  }
}

void ListSort(benchmark::State& state) {
  TUcStringList loaded;
  loaded.LoadFromFile(WideString(platform::Utf8ToUtf16(FilePath())));
  for (auto _ : state) {
    state.PauseTiming();
    TUcStringList list;
    list.Assign(&loaded);
    state.ResumeTiming();
    list.Sort();
  }
}

void PeerSort(benchmark::State& state) {
  std::vector<std::u16string> loaded = PeerLoad();
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::u16string> lines = loaded;
    state.ResumeTiming();
    std::sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return Compare(a, b) < 0; });
  }
}

}  // namespace

BENCHMARK(ListLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(PeerLoadLines)->Unit(benchmark::kMillisecond);
BENCHMARK(ListSave)->Unit(benchmark::kMillisecond);
BENCHMARK(PeerSave)->Unit(benchmark::kMillisecond);
BENCHMARK(ListSort)->Unit(benchmark::kMillisecond);
BENCHMARK(PeerSort)->Unit(benchmark::kMillisecond);
