// About 1 MB of mixed Vietnamese and Khmer text converted by the Unicode layer and, in the same
// run, by glibc's iconv: UTF-8 to UTF-16 and back, the 1252 page both ways and UTF-7 both ways;
// and about 1 MB of Japanese text through the double-byte page 932 both ways.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "platform/rtl/Utf8.h"
#include "unicode/CodePageConversion.h"
#include "unicode/Utf7.h"

namespace {

const std::u16string& Text() {
  static const std::u16string text = [] {
    const std::u16string piece =
        u"Ti\u1EBFng Vi\u1EC7t c\u00F3 d\u1EA5u, "
        u"\u1797\u17B6\u179F\u17B6\u1781\u17D2\u1798\u17C2\u179A "
        u"and plain ASCII 0123456789.\r\n";
    std::u16string all;
    while (all.size() * 2 < (1u << 20)) all += piece;
    return all;
  }();
  return text;
}

const std::string& Utf8Text() {
  static const std::string bytes = platform::Utf16ToUtf8(Text());
  return bytes;
}

// One conversion through iconv into a buffer big enough for any of the results here.
std::size_t Iconv(iconv_t cd, const char* in, std::size_t inBytes, std::vector<char>& out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* src = const_cast<char*>(in);
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  while (inBytes > 0) {
    if (iconv(cd, &src, &inBytes, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
      // An unmappable character: write "?" as the classic conversion does and go on.
      if (dstLeft == 0) break;
      *dst++ = '?';
      --dstLeft;
      src += 2;
      inBytes -= 2;
    }
  }
  return out.size() - dstLeft;
}

void RunIconv(benchmark::State& state, const char* to, const char* from, const char* in, std::size_t bytes) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv cannot convert these pages");
    return;
  }
  std::vector<char> out(bytes * 4 + 16);
  for (auto _ : state) benchmark::DoNotOptimize(Iconv(cd, in, bytes, out));
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

const char* Units() { return reinterpret_cast<const char*>(Text().data()); }
std::size_t UnitBytes() { return Text().size() * 2; }

void OursUtf8ToUtf16(benchmark::State& state) {
  AnsiString in(Utf8Text());
  for (auto _ : state) benchmark::DoNotOptimize(UTF8ToWideString(in));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Utf8Text().size()));
}

void IconvUtf8ToUtf16(benchmark::State& state) {
  RunIconv(state, "UTF-16LE", "UTF-8", Utf8Text().data(), Utf8Text().size());
}

void OursUtf16ToUtf8(benchmark::State& state) {
  WideString in(Text());
  for (auto _ : state) benchmark::DoNotOptimize(WideStringToUTF8(in));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * UnitBytes()));
}

void IconvUtf16ToUtf8(benchmark::State& state) { RunIconv(state, "UTF-8", "UTF-16LE", Units(), UnitBytes()); }

void Ours1252Out(benchmark::State& state) {
  WideString in(Text());
  for (auto _ : state) benchmark::DoNotOptimize(WideStringToStringEx(in, 1252));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * UnitBytes()));
}

void Iconv1252Out(benchmark::State& state) { RunIconv(state, "CP1252", "UTF-16LE", Units(), UnitBytes()); }

const AnsiString& Text1252() {
  static const AnsiString bytes = WideStringToStringEx(WideString(Text()), 1252);
  return bytes;
}

void Ours1252In(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(StringToWideStringEx(Text1252(), 1252));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Text1252().Length()));
}

void Iconv1252In(benchmark::State& state) {
  RunIconv(state, "UTF-16LE", "CP1252", Text1252().data(), static_cast<std::size_t>(Text1252().Length()));
}

const AnsiString& Utf7Text() {
  static const AnsiString bytes = WideStringToUTF7(WideString(Text()));
  return bytes;
}

void OursUtf7Out(benchmark::State& state) {
  WideString in(Text());
  for (auto _ : state) benchmark::DoNotOptimize(WideStringToUTF7(in));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * UnitBytes()));
}

void IconvUtf7Out(benchmark::State& state) { RunIconv(state, "UTF-7", "UTF-16LE", Units(), UnitBytes()); }

void OursUtf7In(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(UTF7ToWideString(Utf7Text()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Utf7Text().Length()));
}

void IconvUtf7In(benchmark::State& state) {
  RunIconv(state, "UTF-16LE", "UTF-7", Utf7Text().data(), static_cast<std::size_t>(Utf7Text().Length()));
}

const std::u16string& JapaneseText() {
  static const std::u16string text = [] {
    const std::u16string piece =
        u"\u65E5\u672C\u8A9E\u306E\u30C6\u30AD\u30B9\u30C8\u3001\uFF76\uFF80\uFF76\uFF85 and ASCII 0123.\r\n";
    std::u16string all;
    while (all.size() * 2 < (1u << 20)) all += piece;
    return all;
  }();
  return text;
}

const AnsiString& Text932() {
  static const AnsiString bytes = WideStringToStringEx(WideString(JapaneseText()), 932);
  return bytes;
}

void Ours932Out(benchmark::State& state) {
  WideString in(JapaneseText());
  for (auto _ : state) benchmark::DoNotOptimize(WideStringToStringEx(in, 932));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * JapaneseText().size() * 2));
}

void Iconv932Out(benchmark::State& state) {
  RunIconv(state, "CP932", "UTF-16LE", reinterpret_cast<const char*>(JapaneseText().data()),
           JapaneseText().size() * 2);
}

void Ours932In(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(StringToWideStringEx(Text932(), 932));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Text932().Length()));
}

void Iconv932In(benchmark::State& state) {
  RunIconv(state, "UTF-16LE", "CP932", Text932().data(), static_cast<std::size_t>(Text932().Length()));
}

}  // namespace

BENCHMARK(OursUtf8ToUtf16);
BENCHMARK(IconvUtf8ToUtf16);
BENCHMARK(OursUtf16ToUtf8);
BENCHMARK(IconvUtf16ToUtf8);
BENCHMARK(Ours1252Out);
BENCHMARK(Iconv1252Out);
BENCHMARK(Ours1252In);
BENCHMARK(Iconv1252In);
BENCHMARK(OursUtf7Out);
BENCHMARK(IconvUtf7Out);
BENCHMARK(OursUtf7In);
BENCHMARK(IconvUtf7In);
BENCHMARK(Ours932Out);
BENCHMARK(Iconv932Out);
BENCHMARK(Ours932In);
BENCHMARK(Iconv932In);
